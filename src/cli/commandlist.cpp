// The commands of vetral-cli: what the overview, each command's --help and
// the manual page say of them, and the statuses they end with.
#include "command.h"
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "helpwords.h"
#include "batch/batchchoice.h"
#include "common/exitcodes.h"
#include "link/linktexts.h"
#include "report/reportdocument.h"

#include <algorithm>

namespace {

using Option = Command::Option;

Command::Argument channelFile()
{
    return {QStringLiteral("FILE"), QStringLiteral("Файл каналов (.ini).")};
}

Option portOption(const QString &description, bool repeatable = false)
{
    return {QCommandLineOption(QStringLiteral("port"), description, QStringLiteral("PORT")), true, repeatable};
}

Option outputOption(const QString &description, const QString &value)
{
    return {QCommandLineOption(QStringLiteral("output"), description, value), true};
}

Command::Exit stopped(const QString &how)
{
    return {ExitCode::Stopped, QStringLiteral("остановлено %1%2").arg(HelpWords::stoppedBy(), how)};
}

QString fleetDescription()
{
    return QStringLiteral("Программирует партию станций одним планом каналов, все одновременно, по станции на порт.\n"
                          "FILE загружается и проверяется один раз, как в check; при отказе проверки ни один порт\n"
                          "не открывается (код 1). Затем для каждого порта, в своём потоке:\n"
                          "  1. чтение станции; прочитанное - в архив чтений (копия того, что станция хранила;\n"
                          "     станция, копию которой сохранить не удалось, не записывается);\n"
                          "  2. запись проверенных данных с Id этой станции;\n"
                          "  3. проверочное чтение и сравнение, как write --verify;\n"
                          "  4. с --report-dir - протокол испытаний DIR/<серийный номер>.docx (\" (2)\" и т. д.,\n"
                          "     если имя занято) с серийным номером и Id станции в тексте установок.\n"
                          "Станция, на которой шаг не удался, останавливается на нём; остальные продолжают.\n"
                          "С --id-from NNNN станция k-го --port (считая от 0) получает Id NNNN + k (четыре\n"
                          "десятичные цифры); без него все станции получают Id из файла.\n"
                          "Одно устройство, названное дважды (%1), неверный\n"
                          "--id-from, Id больше %5, COMn без устройства или папка --report-dir, которую нельзя\n"
                          "создать, в которую нельзя записать файл или в которой нет места для протоколов, -\n"
                          "отказ до открытия портов (код 2).\n"
                          "Ход работы - на stderr, по строке на порт (порт, шаг, процент), в конце - пути копий\n"
                          "в архиве чтений и протоколов. Итог - на stdout, по строке на порт в порядке --port,\n"
                          "через табуляцию: порт, серийный номер (или \"-\"), Id, результат.\n"
                          "Порт станции открывается и блокируется один раз на всю её работу; если при проверочном\n"
                          "чтении отвечает станция с другим серийным номером - \"станция сменилась: ...\" (код 4),\n"
                          "протокол не пишется.\n"
                          "Остановка %2: новые станции и шаги\n"
                          "не начинаются, начатая запись доводится до конца; строка порта говорит, где он\n"
                          "остановлен (\"остановлено до записи\", \"остановлено: записано, не проверено\"), код 5.\n"
                          "Затем %3 прерывает сразу; строки станций, записанных не полностью,\n"
                          "говорят об этом.%4\n"
                          "Если не все станции записаны и проверены, код выхода - наибольший среди станций.")
        .arg(HelpWords::twoNamesOfOneDevice(), HelpWords::stoppedBy(), HelpWords::secondStop(),
             HelpWords::stopNoteLine())
        .arg(BatchChoice::LastId);
}

QList<Command> commands()
{
    const Command::Exit refused{ExitCode::Refused, QStringLiteral("отказ проверки")};
    const Command::Exit noAnswer{ExitCode::NoAnswer, QStringLiteral("станция не ответила")};
    const Option serial{QCommandLineOption(
        QStringLiteral("serial"),
        QStringLiteral("Серийный номер протокола (по умолчанию %1).").arg(ReportDocument::defaultSerial()),
        QStringLiteral("TEXT"), ReportDocument::defaultSerial())};
    QList<Command> list;
    list.append({QStringLiteral("check"),
                 QStringLiteral("check FILE"),
                 QStringLiteral("загрузить файл каналов и выполнить \"Контроль\""),
                 QStringLiteral("Загружает файл каналов, как \"Чтение файла\", и выполняет \"Контроль\".\n"
                                "Печатает сообщение проверки."),
                 {channelFile()},
                 {},
                 {{ExitCode::Done, QStringLiteral("данные верны")}, refused},
                 Commands::check});
    list.append({QStringLiteral("dump"),
                 QStringLiteral("dump FILE"),
                 QStringLiteral("байты записи в станцию, по строке на запись"),
                 QStringLiteral("Как check, затем печатает байты, которые \"Запись данных \" передаст после\n"
                                "стартового байта 20: первая строка - 25 байтов до записей каналов, далее по\n"
                                "строке на каждую запись канала (18 байтов), в шестнадцатеричном виде.\n"
                                "При отказе печатает сообщение проверки."),
                 {channelFile()},
                 {},
                 {{ExitCode::Done, QStringLiteral("данные верны")}, refused},
                 Commands::dump});
    list.append(
        {QStringLiteral("write"),
         QStringLiteral("write FILE --port PORT [--verify]"),
         QStringLiteral("записать в станцию (и сверить чтением)"),
         QStringLiteral("Как check, затем \"Запись данных \" в станцию на порту PORT.\n"
                        "С --verify затем читает станцию и сравнивает прочитанное с записанным;\n"
                        "порт открыт и заблокирован от записи до конца проверки.\n"
                        "Ход передачи - на stderr, итог - одной строкой на stdout.")
             + HelpWords::stopNoteLine(),
         {channelFile()},
         {portOption(HelpWords::portValue()),
          {QCommandLineOption(QStringLiteral("verify"), QStringLiteral("Прочитать станцию после записи и сравнить."))}},
         {{ExitCode::Done, QStringLiteral("записано (и проверено)")},
          refused,
          noAnswer,
          {ExitCode::Differs, QStringLiteral("станция хранит не то, что записано")},
          stopped(QStringLiteral(": начатая запись доводится до конца, проверка не начинается; %1 прерывает сразу")
                      .arg(HelpWords::secondStop()))},
         Commands::write});
    list.append({QStringLiteral("read"),
                 QStringLiteral("read --port PORT --output FILE"),
                 QStringLiteral("прочитать станцию в файл каналов"),
                 QStringLiteral("\"Чтение данных \" из станции на порту PORT; прочитанное сохраняется в FILE\n"
                                "так, как его записала бы \"Запись в файл\", и копией в архив чтений.\n"
                                "FILE проверяется до обращения к станции (папка есть и принимает файл, имя\n"
                                "допустимо). Ход передачи - на stderr."),
                 {},
                 {portOption(HelpWords::portValue()),
                  outputOption(QStringLiteral("Файл каналов, который будет записан."), QStringLiteral("FILE"))},
                 {{ExitCode::Done, QStringLiteral("прочитано")},
                  {ExitCode::Refused, QStringLiteral("ответ станции отвергнут (больше 99 каналов)")},
                  {ExitCode::NoAnswer, QStringLiteral("станция не ответила или перестала отвечать")},
                  stopped(QStringLiteral(" (начатое чтение доводится до конца, FILE сохраняется)"))},
                 Commands::read});
    list.append({QStringLiteral("report"),
                 QStringLiteral("report FILE --output OUT.docx|OUT.pdf [--serial TEXT]"),
                 QStringLiteral("протокол испытаний"),
                 QStringLiteral("Как check, затем протокол испытаний в файл OUT: PDF, если имя кончается\n"
                                "на .pdf, иначе .docx. Существующий файл не заменяется."),
                 {channelFile()},
                 {outputOption(QStringLiteral("Файл протокола: .docx или .pdf."), QStringLiteral("OUT")), serial},
                 {{ExitCode::Done, QStringLiteral("протокол записан")}, refused},
                 Commands::report});
    list.append({QStringLiteral("search"),
                 QStringLiteral("search"),
                 QStringLiteral("найти станцию на COM1...COM7 (\"USB\")"),
                 QStringLiteral("Поиск станции кнопкой \"USB\": опрос портов COM1...COM7 %1.\n"
                                "Печатает найденный порт и его устройство или \"%2\".")
                     .arg(HelpWords::searchedPorts(), LinkTexts::searchNotFound()),
                 {},
                 {},
                 {{ExitCode::Done, QStringLiteral("найдена")}, {ExitCode::NoAnswer, QStringLiteral("нет")}},
                 Commands::search});
    list.append({QStringLiteral("ports"),
                 QStringLiteral("ports"),
                 QStringLiteral("последовательные порты и их адаптеры"),
                 QStringLiteral("Последовательные порты системы и устройства, которые раздел [Ports] файла\n"
                                "V404Options.ini называет, по строке на порт, через табуляцию: имена COM по\n"
                                "карте портов программы (через запятую, \"-\" - ни одного), устройство, адаптер,\n"
                                "изготовитель, VID:PID, серийный номер, драйвер, задержка адаптера (\"-\" - не\n"
                                "известно). Задержку больше 1 мс объясняет строка в стандартном потоке ошибок.\n"
                                "Ни один порт не открывается."),
                 {},
                 {},
                 {{ExitCode::Done, QStringLiteral("порты перечислены")}},
                 Commands::ports});
    list.append(
        {QStringLiteral("fleet"),
         QStringLiteral("fleet FILE --port PORT [--port PORT ...] [--id-from NNNN] [--report-dir DIR] [--serial TEXT]"),
         QStringLiteral("записать партию станций сразу, по станции на порт"),
         fleetDescription(),
         {channelFile()},
         {portOption(QStringLiteral("Порт станции, по одному на станцию: %1").arg(HelpWords::portValue()), true),
          {QCommandLineOption(QStringLiteral("id-from"), QStringLiteral("Id первой станции, четыре цифры."),
                              QStringLiteral("NNNN"))},
          {QCommandLineOption(QStringLiteral("report-dir"), QStringLiteral("Папка для протоколов станций."),
                              QStringLiteral("DIR"))},
          serial},
         {{ExitCode::Done, QStringLiteral("все станции записаны и проверены")},
          {ExitCode::Refused, QStringLiteral("ответ станции отвергнут")},
          {ExitCode::Failure, QStringLiteral("ошибка порта или файла")},
          noAnswer,
          {ExitCode::Differs, QStringLiteral("станция хранит не то, что записано, или сменилась")},
          stopped(QString())},
         Commands::fleet});
    list.append({QStringLiteral("diff"),
                 QStringLiteral("diff A.ini B.ini | diff FILE --port PORT"),
                 QStringLiteral("сравнить два файла или файл со станцией"),
                 QStringLiteral("vetral-cli diff A.ini B.ini - сравнивает два файла каналов;\n"
                                "vetral-cli diff FILE --port PORT - файл каналов с тем, что хранит станция\n"
                                "(прочитанное - копией в архив чтений).\n"
                                "Файлы загружаются и проверяются, как в check. По строке на различие на stdout,\n"
                                "через табуляцию: место (ключ или строка и столбец), значение в A (в файле),\n"
                                "значение в B (в станции) и, для различий только в тексте или строк, которые\n"
                                "станция не хранит, пометка. Серийный номер - на stderr, он не сравнивается."),
                 {{QStringLiteral("A"), QStringLiteral("Файл каналов (.ini).")},
                  {QStringLiteral("B"), QStringLiteral("Второй файл каналов (.ini)."), QStringLiteral("port")}},
                 {{QCommandLineOption(QStringLiteral("port"),
                                      QStringLiteral("Станция, с которой сравнить A: ") + HelpWords::portValue(),
                                      QStringLiteral("PORT"))}},
                 {{ExitCode::Done, QStringLiteral("в станции одинаково")},
                  {ExitCode::Refused, QStringLiteral("отказ проверки или ответ станции отвергнут")},
                  noAnswer,
                  {ExitCode::Differs, QStringLiteral("различаются")},
                  stopped(QString())},
                 Commands::diff});
    list.append(
        {QStringLiteral("csv"),
         QStringLiteral("csv export FILE OUT.csv [--encoding ENC] | csv import IN.csv OUT.ini [--settings FILE.ini]"),
         QStringLiteral("таблица каналов в CSV для электронной таблицы и обратно"),
         QString(),
         {},
         {},
         {},
         nullptr,
         {{QStringLiteral("csv export"),
           QString(),
           QString(),
           QStringLiteral("Записывает таблицу каналов файла FILE в OUT.csv для электронной таблицы: разделитель "
                          "\";\",\n"
                          "заголовки столбцов в первой строке, десятичная запятая, отмеченный флажок - \"+\"."),
           {channelFile(),
            {QStringLiteral("OUT"), QStringLiteral("Файл CSV, который будет записан (заменяется целиком).")}},
           {{QCommandLineOption(QStringLiteral("encoding"),
                                QStringLiteral("utf-8 (с меткой BOM, по умолчанию) или windows-1251."),
                                QStringLiteral("ENC"), QStringLiteral("utf-8"))}},
           {{ExitCode::Done, QStringLiteral("таблица записана")},
            {ExitCode::Refused, QStringLiteral("символ, которого нет в кодировке windows-1251")}},
           Commands::csvExport},
          {QStringLiteral("csv import"),
           QString(),
           QString(),
           QStringLiteral("Записывает файл каналов OUT.ini с таблицей каналов из IN.csv (UTF-8 или windows-1251).\n"
                          "Общие установки, тип станции и модуль - из файла --settings, без него - как у шаблона."),
           {{QStringLiteral("IN"), QStringLiteral("Файл CSV с таблицей каналов.")},
            {QStringLiteral("OUT"), QStringLiteral("Файл каналов (.ini), который будет записан.")}},
           {{QCommandLineOption(QStringLiteral("settings"),
                                QStringLiteral("Файл каналов, из которого взять общие установки и тип станции."),
                                QStringLiteral("FILE.ini"))}},
           {{ExitCode::Done, QStringLiteral("файл каналов записан")},
            {ExitCode::Refused, QStringLiteral("файл не является таблицей каналов (названы строка и столбец)")}},
           Commands::csvImport}}});
    list.append({QStringLiteral("print"),
                 QStringLiteral("print FILE --output OUT.pdf"),
                 QStringLiteral("лист каналов в PDF"),
                 QStringLiteral("Загружает файл каналов, как \"Чтение файла\", и записывает лист каналов в PDF:\n"
                                "тип станции и модуль, общие установки, таблица каналов с отметками\n"
                                "ретранслятора, дата; A4 альбомной ориентации, заголовок таблицы и номер\n"
                                "на каждой странице. Существующий файл заменяется."),
                 {channelFile()},
                 {outputOption(QStringLiteral("Файл PDF листа каналов."), QStringLiteral("OUT.pdf"))},
                 {{ExitCode::Done, QStringLiteral("лист записан")}},
                 Commands::printSheet});
    list.append(
        {QStringLiteral("trace"),
         QStringLiteral("trace [FILE] | trace --path"),
         QStringLiteral("журнал обмена последней передачи (или FILE)"),
         QStringLiteral("Журнал обмена со станцией: время в мс от начала, направление, шаг (стартовый\n"
                        "байт, заголовок, тоны, каналы, запрос, блоки ответа), байты в шестнадцатеричной\n"
                        "записи, по строке на байт или на подряд идущие байты в одну сторону. Без FILE -\n"
                        "журнал последней передачи. --path печатает только путь последнего журнала.\n"
                        "Журнала нет или файл не журнал обмена - код 2."),
         {{QStringLiteral("FILE"), QStringLiteral("Файл журнала обмена."), QString(), true}},
         {{QCommandLineOption(QStringLiteral("path"), QStringLiteral("Напечатать путь журнала последней передачи."))}},
         {{ExitCode::Done, QStringLiteral("журнал напечатан")},
          {ExitCode::Failure, QStringLiteral("журнала нет или файл не журнал обмена")}},
         Commands::trace});
    list.append(
        {QStringLiteral("support"),
         QStringLiteral("support OUT.zip"),
         QStringLiteral("архив для службы поддержки"),
         QStringLiteral("Архив для службы поддержки OUT.zip: сводка (ПРОЧТИТЕ.txt), версии программы\n"
                        "и Qt, система, порты и адаптеры (как в ports), файлы настроек, последние 10\n"
                        "журналов обмена и имена последних копий архива чтений. Существующий файл\n"
                        "не заменяется."),
         {{QStringLiteral("OUT.zip"), QStringLiteral("Файл архива.")}},
         {},
         {{ExitCode::Done, QStringLiteral("архив записан")}, {ExitCode::Failure, QStringLiteral("ошибка файла")}},
         Commands::support});
    return list;
}

QString helpOf(const Command &command)
{
    if (command.actions.isEmpty())
        return CommandLine(command).helpText();
    QStringList helps;
    for (const Command &action : command.actions)
        helps.append(helpOf(action));
    return helps.join(QStringLiteral("\n\n"));
}

int runCommand(const Command &command, const QStringList &arguments)
{
    if (command.actions.isEmpty()) {
        CommandLine line(command);
        return line.parse(arguments) ? command.run(line) : ExitCode::Done;
    }
    const QString name = arguments.value(0);
    if (name == QStringLiteral("--help") || name == QStringLiteral("-h")) {
        Console::out(helpOf(command));
        return ExitCode::Done;
    }
    QStringList names;
    for (const Command &action : command.actions) {
        const QString actionName = action.name.section(u' ', 1);
        if (name == actionName)
            return runCommand(action, arguments.mid(1));
        names.append(actionName);
    }
    const QString choice = names.join(QStringLiteral(" или "));
    const QString more = QStringLiteral(" (см. vetral-cli %1 --help)").arg(command.name);
    if (name.isEmpty())
        throw UsageError(QStringLiteral("Не указано действие: %1").arg(choice) + more);
    throw UsageError(QStringLiteral("Неизвестное действие \"%1\": %2").arg(name, choice) + more);
}

} // namespace

QString Command::exitText() const
{
    constexpr qsizetype kWidth = 80;
    const QString indent(6, u' ');
    QString text = QStringLiteral("Код выхода:");
    for (const Exit &exit : exits) {
        QString line = QStringLiteral("  %1 -").arg(exit.code);
        for (const QString &word : exit.meaning.split(u' ')) {
            if (line.size() + 1 + word.size() > kWidth) {
                text += u'\n' + line;
                line = indent + word;
            } else {
                line += u' ' + word;
            }
        }
        text += u'\n' + line;
    }
    return text;
}

bool Command::hasExit(int code) const
{
    return std::any_of(exits.begin(), exits.end(), [code](const Exit &exit) { return exit.code == code; });
}

namespace Commands {

const QList<Command> &all()
{
    // Built once the program's translations are in, as their help is.
    static const QList<Command> list = commands();
    return list;
}

QString overview()
{
    constexpr int kSynopsisWidth = 36;
    QString text = QStringLiteral("Программатор радиостанций \"Ветрал\" для командной строки.\n\n"
                                  "Использование: vetral-cli КОМАНДА [параметры]\n\nКоманды:\n");
    QStringList stoppable;
    for (const Command &command : all()) {
        text += QStringLiteral("  ") + command.synopsis;
        if (command.synopsis.size() < kSynopsisWidth)
            text += QString(kSynopsisWidth - command.synopsis.size(), u' ');
        else
            text += u'\n' + QString(kSynopsisWidth + 2, u' ');
        text += command.summary + u'\n';
        for (const Command &part : command.actions.isEmpty() ? QList<Command>{command} : command.actions) {
            if (part.hasExit(ExitCode::Stopped) && !stoppable.contains(command.name))
                stoppable.append(command.name);
        }
    }
    text += QStringLiteral("\nСправка по команде: vetral-cli КОМАНДА --help\n"
                           "Версия программы: vetral-cli --version\n"
                           "Код выхода 2: неверные аргументы или ошибка файла или порта.\n"
                           "Код выхода 5 (%1): остановлено %2.")
                .arg(stoppable.join(QStringLiteral(", ")), HelpWords::stoppedBy());
    return text + HelpWords::stopNoteLine();
}

int run(const QString &name, const QStringList &arguments)
{
    for (const Command &command : all()) {
        if (name == command.name)
            return runCommand(command, arguments);
    }
    throw UsageError(QStringLiteral("Неизвестная команда \"%1\" (см. vetral-cli --help)").arg(name));
}

} // namespace Commands
