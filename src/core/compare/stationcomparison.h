#pragma once

#include "compare/stationside.h"

#include <QList>
#include <QString>

// Two sides compared in the terms of the table and the settings text: header
// fields by their settings or file keys, channel rows by their column
// headers, each side's value as its own text shows it. Equal means the same
// bytes in the station; texts that code alike are listed as differing in text
// only. Settings lines the station does not store are compared as text. A
// side read from a station has no texts of its own: against it only the
// station bytes count. The
// serial number is the station's own: it is kept for showing and never
// counts as a difference.
class StationComparison
{
public:
    struct Difference
    {
        enum class Kind {
            Stored,    // the station bytes differ
            TextOnly,  // the texts differ, the station bytes do not
            OnlyInA,   // a channel row only side A has
            OnlyInB,   // a channel row only side B has
            NotStored, // a settings line the station does not keep
        };
        Kind kind;
        QString key;     // settings or file key; for a cell its column header
        int row = 0;     // channel row 1..N; 0 for a settings line
        int column = -1; // ChannelTable column of a cell, -1 otherwise
        QString a;
        QString b;

        bool isCell() const { return column >= 0; }
        // "Громкость", "строка 3, Rx", "строка 5".
        QString place() const;
    };

    // The whole comparison is made here; the sides need not outlive it.
    StationComparison(const StationSide &a, const StationSide &b);

    const QList<Difference> &differences() const { return m_differences; }
    // True when the station would hold the same bytes for both sides.
    bool storedEqual() const;
    // Whether a station would hold the two sides of the difference apart:
    // not a spelling, not a line it does not keep.
    static bool heldApart(const Difference &difference);
    const QString &serialA() const { return m_serialA; }
    const QString &serialB() const { return m_serialB; }

    // The value shown for a settings line a side does not have.
    static QString missingLineText();

    // The note a kind carries in a listing; empty for a stored difference.
    static QString note(Difference::Kind kind);

private:
    void compareSettings();
    void compareRows();
    void addUnexplainedBytes();

    const StationSide &m_a;
    const StationSide &m_b;
    StationSide m_shownA; // each side's bytes as a read would show them
    StationSide m_shownB;
    QList<Difference> m_differences;
    QString m_serialA;
    QString m_serialB;
};
