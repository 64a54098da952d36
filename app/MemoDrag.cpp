// Memo1's drag mode is automatic: pressing the description and moving the
// mouse drags its text away, as a copy.
#include "Memo.h"
#include "mainfrm.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

namespace {
TFrmMain::TStartDragHook &StartDragHook()
{
    static TFrmMain::TStartDragHook hook;
    return hook;
}
} // namespace

TFrmMain::TStartDragHook TFrmMain::SetStartDragHook(TStartDragHook hook)
{
    TStartDragHook old = std::move(StartDragHook());
    StartDragHook() = std::move(hook);
    return old;
}

bool TFrmMain::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched != Memo1->viewport() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove))
        return QWidget::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint p = mouse->position().toPoint();
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        m_memoPress = p;
    } else if (type == QEvent::MouseButtonRelease) {
        m_memoPress.reset();
    } else if (type == QEvent::MouseMove && m_memoPress && (mouse->buttons() & Qt::LeftButton) &&
               (p - *m_memoPress).manhattanLength() >= QApplication::startDragDistance()) {
        m_memoPress.reset();
        StartMemoDrag();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmMain::StartMemoDrag()
{
    auto *mime = new QMimeData;
    mime->setText(Memo1->toPlainText());
    if (const TStartDragHook &hook = StartDragHook()) {
        hook(mime);
        delete mime;
        return;
    }
    auto *drag = new QDrag(Memo1);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
}
