#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

class CommandLine;

// A command of vetral-cli as the overview, its --help and the manual page
// know it: its name, what it takes, what it does and what each of its exit
// statuses means. `run` gets its parsed arguments and returns the status.
struct Command
{
    struct Argument
    {
        QString name;
        QString description;
        // The argument is not taken when this option is given (diff FILE --port PORT).
        QString absentWith = QString();
        // May be left out; optional arguments come after the required ones.
        bool optional = false;
    };
    struct Option
    {
        QCommandLineOption option;
        bool required = false;
        // An option that takes a value is given at most once unless it is
        // repeatable: a second value would be silently dropped or preferred.
        bool repeatable = false;
    };
    struct Exit
    {
        int code;
        QString meaning;
    };

    QString name;     // "write"; "csv export" for an action of csv
    QString synopsis; // the overview's line after "vetral-cli "
    QString summary;  // the overview's words for what it does
    QString description;
    QList<Argument> arguments;
    QList<Option> options;
    QList<Exit> exits;
    int (*run)(const CommandLine &line) = nullptr;
    // A command made of actions (csv export, csv import) runs the one its
    // first argument names.
    QList<Command> actions = {};

    // "Код выхода:" and a line for every status.
    QString exitText() const;
    bool hasExit(int code) const;
};

namespace Commands {

// Every command, in the overview's order.
const QList<Command> &all();

// "vetral-cli --help": the commands, and the statuses all of them share.
QString overview();

// Runs the command `name` on the arguments after its name. Throws UsageError.
int run(const QString &name, const QStringList &arguments);

} // namespace Commands
