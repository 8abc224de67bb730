#include "ui/qt/widgets.h"

#include <algorithm>

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "afx/input.h"

namespace ui::qt {
namespace {

QSize LogicalSize(const QPixmap& p) { return p.deviceIndependentSize().toSize(); }

}  // namespace

bool ImageSlot::Set(const void* key, const QPixmap& pixmap)
{
    if (key == m_key)
        return false;
    m_key = key;
    m_pixmap = pixmap;
    return true;
}

void DrawFocusRect(QPainter& p, const QRect& r, const QPalette& palette)
{
    p.save();
    QPen dots(palette.color(QPalette::WindowText), 0);  // cosmetic: one device pixel wide
    dots.setDashPattern({1, 1});
    p.setPen(dots);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.restore();
}

void PushButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.state &= ~QStyle::State_HasFocus;  // ours below, the same in every style
    p.drawControl(QStyle::CE_PushButton, opt);
    if (hasFocus())
        DrawFocusRect(p, rect().adjusted(3, 3, -3, -3), palette());
}

void DropDownList::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.state &= ~QStyle::State_HasFocus;
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    p.drawControl(QStyle::CE_ComboBoxLabel, opt);
    if (hasFocus())
        DrawFocusRect(p, style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this),
                      palette());
}

void ModelCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.state &= ~QStyle::State_HasFocus;
    p.drawControl(QStyle::CE_CheckBox, opt);
    if (hasFocus()) {
        // Around the label, as far as the box is wide enough to hold it.
        QRect label = style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, this);
        int textWidth = fontMetrics().horizontalAdvance(opt.text) + 4;
        label.setWidth(std::min(label.width(), textWidth));
        DrawFocusRect(p, label.intersected(rect()), palette());
    }
}

ImageWidget::ImageWidget(QWidget* parent) : QWidget(parent) {}

void ImageWidget::SetImage(const void* key, const QPixmap& pixmap)
{
    if (!m_image.Set(key, pixmap))
        return;
    if (!pixmap.isNull())
        resize(LogicalSize(pixmap));
    update();
}

void ImageWidget::paintEvent(QPaintEvent*)
{
    if (m_image.Pixmap().isNull())
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, m_image.Pixmap());
}

GroupFrame::GroupFrame(QWidget* parent, int cellHeight) : QWidget(parent), m_cellHeight(cellHeight)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void GroupFrame::SetTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    setAccessibleName(title);
    update();
}

void GroupFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QRect frame = rect().adjusted(0, m_cellHeight / 2 - 1, 0, 0);
    // Etched: a shadow line with a highlight line one pixel below and to the right of it.
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(frame.adjusted(0, 0, -2, -2));
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(frame.adjusted(1, 1, -1, -1));
    if (m_title.isEmpty())
        return;
    constexpr int kIndent = 7;
    QRect text(kIndent - 1, 0, fontMetrics().horizontalAdvance(m_title) + 2, m_cellHeight);
    p.fillRect(text, palette().window());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(text.adjusted(1, 0, -1, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_title);
}

BitmapButton::BitmapButton(QWidget* parent) : QPushButton(parent)
{
    setAutoDefault(false);
    setCheckable(true);
}

void BitmapButton::ShowChecked(bool checked)
{
    if (checked == isChecked())
        return;
    QSignalBlocker quiet(this);
    setChecked(checked);  // tells screen readers of the new state
}

void BitmapButton::SetImage(const void* key, const QPixmap& pixmap)
{
    if (m_image.Set(key, pixmap))
        update();
}

void BitmapButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    opt.icon = QIcon();
    opt.state &= ~QStyle::State_On;  // checked is for screen readers; the face shows the state
    opt.state &= ~QStyle::State_HasFocus;
    p.drawControl(QStyle::CE_PushButtonBevel, opt);
    QRect face = FaceRect(opt);
    if (!m_image.Pixmap().isNull())
        p.drawPixmap(face.topLeft(), m_image.Pixmap());
    // A ring just around the face, which fills most of the small button: the face itself stays
    // as it is, since its pixels are what the bit shows.
    if (hasFocus())
        DrawFocusRect(p, face.adjusted(-1, -1, 1, 1).intersected(rect()), palette());
}

QRect BitmapButton::FaceRect(const QStyleOptionButton& opt) const
{
    QSize s = m_image.Pixmap().isNull() ? QSize(width() - 6, height() - 6) : LogicalSize(m_image.Pixmap());
    QPoint at((width() - s.width()) / 2, (height() - s.height()) / 2);
    // A pressed button moves its face the way the style moves a label.
    if (isDown())
        at += QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opt, this),
                     style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &opt, this));
    return QRect(at, s);
}

void ModelLineEdit::ShowSelection(int start, int end)
{
    m_start = start;
    m_end = end;
    QSignalBlocker quiet(this);
    if (start == end)
        setCursorPosition(end);
    else
        setSelection(start, end - start);
}

void ModelLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // A click places the caret itself; any other way in shows what the model has selected.
    if (event->reason() != Qt::MouseFocusReason)
        ShowSelection(m_start, m_end);
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
    afx::input::Close(m_top);
}

void TopWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    bool minimized = isMinimized();
    if (minimized != m_top->minimized)
        afx::input::SysCommand(m_top, minimized ? SC_MINIMIZE : SC_RESTORE);
}

void TopWindow::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse)
        m_menuAt = event->globalPos();
    event->accept();
    afx::input::OpenSystemMenu(m_top);
}

}  // namespace ui::qt
