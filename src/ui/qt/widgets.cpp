#include "ui/qt/widgets.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "ui/qt/input_bridge.h"

namespace ui::qt {
namespace {

QSize LogicalSize(const QPixmap& p) { return p.deviceIndependentSize().toSize(); }

}  // namespace

ImageWidget::ImageWidget(QWidget* parent) : QWidget(parent) {}

void ImageWidget::SetImage(const void* key, const QPixmap& pixmap)
{
    if (key == m_key)
        return;
    m_key = key;
    m_pixmap = pixmap;
    if (!pixmap.isNull())
        resize(LogicalSize(pixmap));
    update();
}

void ImageWidget::paintEvent(QPaintEvent*)
{
    if (m_pixmap.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, m_pixmap);
}

BitmapButton::BitmapButton(QWidget* parent) : QPushButton(parent) { setAutoDefault(false); }

void BitmapButton::SetImage(const void* key, const QPixmap& pixmap)
{
    if (key == m_key)
        return;
    m_key = key;
    m_pixmap = pixmap;
    update();
}

void BitmapButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    opt.icon = QIcon();
    p.drawControl(QStyle::CE_PushButtonBevel, opt);
    if (m_pixmap.isNull())
        return;
    QSize s = LogicalSize(m_pixmap);
    QPoint at((width() - s.width()) / 2, (height() - s.height()) / 2);
    // A pressed button moves its face the way the style moves a label.
    if (isDown())
        at += QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opt, this),
                     style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &opt, this));
    p.drawPixmap(at, m_pixmap);
}

TopWindow::TopWindow(afx::Window* top) : m_top(top) {}

std::optional<QPoint> TopWindow::TakeMenuPosition()
{
    std::optional<QPoint> at = m_menuAt;
    m_menuAt.reset();
    return at;
}

void TopWindow::closeEvent(QCloseEvent* event)
{
    // The window closes only when the dialog ends; the close box is a request to it.
    event->ignore();
    send::Close(m_top);
}

void TopWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    bool minimized = isMinimized();
    if (minimized != m_top->minimized)
        send::SysCommand(m_top, minimized ? SC_MINIMIZE : SC_RESTORE);
}

void TopWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    send::ClientSize(m_top, width(), height());
}

void TopWindow::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse)
        m_menuAt = event->globalPos();
    event->accept();
    send::OpenSystemMenu(m_top);
}

}  // namespace ui::qt
