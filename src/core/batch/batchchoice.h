#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The ports and Ids chosen for a batch, checked alike whether `fleet` took
// them from its options or the batch window from its port list and its
// "Id с" field, before any port is opened.
namespace BatchChoice {

// The highest Id a station takes: four decimal digits.
constexpr int LastId = 9999;

// A port of the batch: its name as the technician gave it (COM3 or a
// device's path) and the device it opens, empty when the port map names
// none.
struct Port
{
    QString name;
    QString device;
};

// What is wrong with a choice, in words that name the field as the caller
// calls it.
struct Problem
{
    enum class Kind { NoDevice, SameDevice, IdNotDigits, IdPastLast };
    Kind kind;
    QString text;
};

// The first port without a device, or the first two that name one device
// (through a link, or by two names of the port map).
std::optional<Problem> checkPorts(const QList<Port> &ports);

// The Ids of `count` stations from `from` on (four decimal digits each), or
// why there are none; `field` names where `from` was given ("--id-from",
// "Id с").
struct Ids
{
    QStringList ids;
    std::optional<Problem> problem;
};
Ids ids(const QString &from, qsizetype count, const QString &field);

} // namespace BatchChoice
