#include "main/keyfilter.h"
#include "services/uiservices.h"

#include <QKeyEvent>

KeyFilter::KeyFilter(UiServices &ui, Rule rule, QObject *parent) : QObject(parent), m_ui(ui), m_rule(std::move(rule)) {}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    // Tab and Shift+Tab move the focus as in any dialog; they type nothing.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    QChar c;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        c = QChar(13);
    else if (key->key() == Qt::Key_Backspace)
        c = QChar(8);
    else if (!key->text().isEmpty() && key->text().at(0) != QChar(0x7F))
        c = key->text().at(0);
    else
        return false;
    if (const auto refusal = m_rule(c)) {
        m_ui.showRefusal(*refusal);
        return true;
    }
    return false;
}
