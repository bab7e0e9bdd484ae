#include "main/mainmenu.h"
#include "main/celleditors.h"
#include "main/mainwindow.h"

#include <QAction>
#include <QActionGroup>
#include <QHash>
#include <QMenu>
#include <QMenuBar>

namespace {

using E = MainMenuEntry;
using W = MainWindow;

const MainMenuEntry kEntries[] = {
    {E::Menu, nullptr, "N1", "Каналы", "Программирование каналов радоистанции", nullptr},
    {E::Entry, "N1", "N2", "Создать шаблон", nullptr, &W::onCreateTemplate},
    {E::Separator, "N1", "", "", nullptr, nullptr},
    {E::Entry, "N1", "N3", "Запись в файл", nullptr, &W::onSaveFile},
    {E::Entry, "N1", "N4", "Чтение файла", nullptr, &W::onOpenFile},
    {E::Menu, nullptr, "N5", "Доп. оборудование", nullptr, nullptr},
    {E::Menu, "N5", "N8", "Модули ", nullptr, nullptr},
    {E::Radio, "N8", "N10", "Нет модуля", nullptr, &W::onModuleNone},
    {E::Radio, "N8", "N06200031", "Маскиратор 06ЛМ200-03Д", nullptr, &W::onModuleMasker06LM200},
    {E::Radio, "N8", "N12", "Модуль Смартранк", nullptr, &W::onModuleSmartrunk},
    {E::Radio, "N8", "N9", "Маскиратор Тирель", nullptr, &W::onModuleMaskerTirel},
    {E::Radio, "N8", "N13", "Маскиратор типа \"Занавес\"", nullptr, &W::onModuleMaskerCurtain},
    {E::Radio, "N8", "N14", "Маскиратор 06ЛМ016Д", nullptr, &W::onModuleMasker06LM016},
    {E::Entry, nullptr, "N11", "Ретранслятор", nullptr, &W::onRepeater},
    {E::Entry, nullptr, "N19", "Контроль", "Проверка введенных данных", &W::onCheck},
    {E::Menu, nullptr, "N16", "Станция", nullptr, nullptr},
    {E::Entry, "N16", "N22", "Создать протокол", nullptr, &W::onCreateReport},
    {E::Separator, "N16", "", "", nullptr, nullptr},
    {E::Entry, "N16", "N17", "Запись/Чтение данных", nullptr, &W::onTransfer},
    {E::Menu, "N16", "N18", "Тип радиостанции", nullptr, nullptr},
    {E::Radio, "N18", "N3062", "30-60 МГц", nullptr, &W::onBand30to60},
    {E::Radio, "N18", "N3063", "144-174 МГц", nullptr, &W::onBand144to174},
    {E::Disabled, "N18", "N3064", "300-345 МГц", nullptr, nullptr},
    {E::Radio, "N18", "N3065", "400-486 Мгц", nullptr, &W::onBand400to486},
    {E::Entry, "N16", "N23", "Пакетная запись…", "Запись одной таблицы в несколько станций сразу", &W::onBatchWrite},
    {E::Entry, nullptr, "N20", "Выход", "Закрытие программы", &W::onExit},
    // Added after the menu of the original layout: the files used last.
    {E::Separator, "N1", "N1RecentLine", "", nullptr, nullptr},
    {E::Recent, "N1", "N1Recent1", "", nullptr, nullptr},
    {E::Recent, "N1", "N1Recent2", "", nullptr, nullptr},
    {E::Recent, "N1", "N1Recent3", "", nullptr, nullptr},
    {E::Recent, "N1", "N1Recent4", "", nullptr, nullptr},
    {E::Recent, "N1", "N1Recent5", "", nullptr, nullptr},
    // Added after everything before them: the comparisons, apart from the files.
    {E::Separator, "N1", "N1CompareLine", "", nullptr, nullptr},
    {E::Entry, "N1", "N24", "Сравнить с файлом…", "Таблица и файл каналов: различия по полям", &W::onCompareWithFile},
    {E::Entry, "N16", "N25", "Сравнить со станцией…", "Таблица и то, что хранит станция: различия по полям",
     &W::onCompareWithStation},
    // Added after the comparisons: the table to and from spreadsheets, and on paper.
    {E::Separator, "N1", "N1ExchangeLine", "", nullptr, nullptr},
    {E::Entry, "N1", "N1ExportCsv", "Экспорт в CSV…", "Таблица каналов в файл для электронной таблицы",
     &W::onExportCsv},
    {E::Entry, "N1", "N1ImportCsv", "Импорт из CSV…", "Таблица каналов из файла электронной таблицы", &W::onImportCsv},
    {E::Entry, "N1", "N1Print", "Печать…", "Лист каналов на принтер", &W::onPrint},
    {E::Entry, "N1", "N1SavePdf", "Сохранить в PDF…", "Лист каналов в файл PDF", &W::onSavePdf},
    {E::Separator, "N16", "N16SupportLine", "", nullptr, nullptr},
    {E::Entry, "N16", "SupportBundle", "Архив для службы поддержки…",
     "Порты, настройки и журналы обмена последних передач одним файлом", &W::onSupportBundle},
};

void setHint(QAction *action, const char *hint)
{
    if (!hint)
        return;
    action->setToolTip(QString::fromUtf8(hint));
    action->setStatusTip(QString::fromUtf8(hint));
}

} // namespace

std::span<const MainMenuEntry> MainMenu::entries()
{
    return kEntries;
}

void MainWindow::buildMenu()
{
    QHash<QByteArray, QMenu *> menus;
    QHash<QByteArray, QActionGroup *> groups;
    int recentCount = 0;
    const auto addTo = [&](const char *parent, QAction *action) {
        if (parent)
            menus.value(parent)->addAction(action);
        else
            menuBar()->addAction(action);
    };
    for (const MainMenuEntry &e : MainMenu::entries()) {
        if (e.kind == E::Separator) {
            menus.value(e.parent)->addSeparator()->setObjectName(QLatin1String(e.name));
            continue;
        }
        if (e.kind == E::Recent) {
            auto *action = new QAction(this);
            action->setObjectName(QLatin1String(e.name));
            action->setVisible(false);
            addTo(e.parent, action);
            const int index = recentCount++;
            connect(action, &QAction::triggered, this, [this, index] {
                m_editors->closeList();
                openRecent(index);
            });
            continue;
        }
        if (e.kind == E::Menu) {
            auto *menu = new QMenu(e.text(), this);
            menu->setObjectName(QLatin1String(e.name));
            setHint(menu->menuAction(), e.hint);
            addTo(e.parent, menu->menuAction());
            menus.insert(e.name, menu);
            continue;
        }
        auto *action = new QAction(e.text(), this);
        action->setObjectName(QLatin1String(e.name));
        setHint(action, e.hint);
        if (e.kind == E::Radio || e.kind == E::Disabled) {
            action->setCheckable(true);
            QActionGroup *&group = groups[e.parent];
            if (!group)
                group = new QActionGroup(this);
            group->addAction(action);
        }
        action->setEnabled(e.kind != E::Disabled);
        addTo(e.parent, action);
        if (const auto handler = e.handler) {
            // A list left open over a cell gives its item back first, so the
            // operation sees the table as the list left it.
            connect(action, &QAction::triggered, this, [this, handler] {
                m_editors->closeList();
                (this->*handler)();
            });
        }
    }
    m_stationActions = {action("N3062"), action("N3063"), action("N3065")};
    m_moduleActions = {action("N10"), action("N06200031"), action("N12"), action("N9"), action("N13"), action("N14")};
}
