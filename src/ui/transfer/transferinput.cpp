#include "transfer/transferinput.h"

#include "transfer/portchoice.h"

#include <QApplication>
#include <QEvent>

TransferInputBlock::TransferInputBlock(PortChoice &ports) : m_ports(ports)
{
    m_ports.setTransferRunning(true);
    qApp->installEventFilter(this);
}

TransferInputBlock::~TransferInputBlock()
{
    qApp->removeEventFilter(this);
    m_ports.setTransferRunning(false);
}

bool TransferInputBlock::isUserInput(const QEvent &event)
{
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

bool TransferInputBlock::eventFilter(QObject *watched, QEvent *event)
{
    if (isUserInput(*event) && !QApplication::activeModalWidget())
        return true;
    return QObject::eventFilter(watched, event);
}
