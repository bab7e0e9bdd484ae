#include "main/channeltablemodel.h"
#include "main/keyfilter.h"
#include "main/tablehistory.h"
#include "main/mainwindow.h"
#include "services/guard.h"
#include "table/templatebuilder.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void MainWindow::buildTemplatePanel()
{
    m_templatePanel = new QFrame(m_workArea);
    m_templatePanel->setObjectName(QStringLiteral("Panel2"));
    m_templatePanel->setGeometry(4, 26, 241, 99);
    m_templatePanel->setFrameStyle(QFrame::Panel | QFrame::Raised);

    const auto addField = [this](const char *name, const QString &label, const QString &text, int y,
                                 KeyFilter::Rule rule) {
        auto *caption = new QLabel(label, m_templatePanel);
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
        caption->setStyleSheet(QStringLiteral("color: navy;"));
        caption->setGeometry(6, y, 160, 21);
        auto *edit = new QLineEdit(text, m_templatePanel);
        edit->setObjectName(QLatin1String(name));
        edit->setGeometry(166, y, 68, 21);
        // Enter presses "Ok", as in any form; the rule sees the other keys.
        KeyFilter::Rule enterPasses = [rule = std::move(rule)](QChar key) -> MaybeRefusal {
            if (key == QChar(13))
                return std::nullopt;
            return rule(key);
        };
        edit->installEventFilter(new KeyFilter(m_ui, std::move(enterPasses), edit));
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            if (m_templateOkButton->isVisible())
                m_templateOkButton->click();
        });
        return edit;
    };
    m_channelCountEdit =
        addField("Edit1", QStringLiteral("Кол-во каналов"), QStringLiteral("10"), 4, &TemplateBuilder::filterCountKey);
    m_firstFrequencyEdit = addField("Edit2", QStringLiteral("Начальная частота, кГц"), QStringLiteral("140000"), 28,
                                    &TemplateBuilder::filterFrequencyKey);
    m_offsetEdit = addField("Edit3", QStringLiteral("Смещение, кГц"), QStringLiteral("1000"), 52,
                            &TemplateBuilder::filterFrequencyKey);

    m_templateOkButton = new QPushButton(QStringLiteral("Ok"), m_templatePanel);
    m_templateOkButton->setObjectName(QStringLiteral("BitBtn1"));
    m_templateOkButton->setGeometry(80, 75, 80, 21);
    connect(m_templateOkButton, &QPushButton::clicked, this, &MainWindow::onTemplateOk);
}

void MainWindow::onCreateTemplate()
{
    showWorkArea(true);
    m_channelCountEdit->setFocus();
    m_firstFrequencyEdit->setText(QString::number(m_state.profile().lowKHz));
}

void MainWindow::onTemplateOk()
{
    guarded(m_ui, [&] {
        const TemplateBuilder::Fields fields{m_channelCountEdit->text(), m_firstFrequencyEdit->text(),
                                             m_offsetEdit->text()};
        MaybeRefusal refusal;
        {
            const TableHistory::WholeStep step(*m_history, QStringLiteral("Шаблон"));
            const ChannelTableModel::TableChange change(*m_model);
            // The data are no longer checked, whatever the fields hold.
            m_state.dataValid = false;
            refusal = TemplateBuilder::build(fields, m_state);
        }
        if (refusal) {
            m_ui.showRefusal(*refusal);
            return;
        }
        m_history->markSaved();
        showSettingsText(true);
        showTable(true);
        refreshSettingsText();
    });
}
