#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "exitcodes.h"
#include "report/docxwriter.h"
#include "report/reportdocument.h"
#include "state/appstate.h"

namespace Commands {

int report(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("report"),
                     QStringLiteral("Как check, затем протокол испытаний (.docx) в файл OUT.\n"
                                    "Существующий файл не заменяется. Код выхода: 0, 1 - отказ проверки."));
    line.addChannelFileArgument();
    line.addOption(QCommandLineOption(QStringLiteral("output"), QStringLiteral("Файл протокола (.docx)."),
                                      QStringLiteral("OUT")),
                   true);
    line.addOption(QCommandLineOption(QStringLiteral("serial"), QStringLiteral("Серийный номер протокола."),
                                      QStringLiteral("TEXT"), QStringLiteral("К7ТВ-12345")));
    if (!line.parse(arguments))
        return ExitCode::Done;

    AppState state;
    const DataCheckResult result = loadAndCheck(line.argument(0), state);
    if (!result.passed()) {
        Console::out(result.text());
        return ExitCode::Refused;
    }
    const ReportDocument doc = ReportDocument::build(state, line.value(QStringLiteral("serial")));
    DocxWriter::write(doc, line.value(QStringLiteral("output")));
    return ExitCode::Done;
}

} // namespace Commands
