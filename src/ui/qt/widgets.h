// The few widgets the panel needs beyond Qt's own: image statics, buttons that show only their
// image, check boxes that wait for the framework to flip them, focus drawn alike in every style,
// and the top-level window frame.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>
#include <optional>

#include "afx/window.h"

class QPainter;
class QStyleOptionButton;

namespace ui::qt {

// The image a widget shows, named by a key (the model's image) so that the same image again is
// recognised without comparing pixels.
class ImageSlot {
public:
    // False when `key` is the image already held: nothing to repaint.
    bool Set(const void* key, const QPixmap& pixmap);
    const void* Key() const { return m_key; }
    const QPixmap& Pixmap() const { return m_pixmap; }

private:
    const void* m_key = nullptr;
    QPixmap m_pixmap;
};

// A lamp or an icon: one image at its own size, in its own colours even while disabled.
class ImageWidget : public QWidget {
public:
    explicit ImageWidget(QWidget* parent);
    // The same image again repaints nothing.
    void SetImage(const void* key, const QPixmap& pixmap);
    const void* ImageKey() const { return m_image.Key(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ImageSlot m_image;
};

// Focus drawn the same in every style, as the dialogs' own platform drew it: a dotted rectangle
// inside the control. Some styles (Fusion) show no focus on buttons and check boxes at all, and
// none marks a button that draws only an image; a keyboard user must see where Space goes.
void DrawFocusRect(QPainter& p, const QRect& r, const QPalette& palette);

// A push button with the focus rectangle.
class PushButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A drop-down list with the focus rectangle around its chosen entry.
class DropDownList : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A push button that draws only the image it was given, centred, never its text. It is checkable
// so that screen readers hear its state, but only the model checks it (with the set face), and
// it looks the same checked or not.
class BitmapButton : public QPushButton {
public:
    explicit BitmapButton(QWidget* parent);
    void SetImage(const void* key, const QPixmap& pixmap);
    const void* ImageKey() const { return m_image.Key(); }
    void ShowChecked(bool checked);

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override {}

private:
    QRect FaceRect(const QStyleOptionButton& opt) const;
    ImageSlot m_image;
};

// A group box as dialogs draw it: an etched frame whose top line runs through the middle of the
// title, the title on a gap in the line. Transparent to the mouse: clicks reach what it frames.
class GroupFrame : public QWidget {
public:
    // `cellHeight` is the dialog font's cell height, from which the frame line is placed.
    GroupFrame(QWidget* parent, int cellHeight);
    void SetTitle(const QString& title);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_cellHeight;
    QString m_title;
};

// An automatic check box whose state only the framework changes: a click is reported, and the
// box shows the new state when the model says so.
class ModelCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
    void paintEvent(QPaintEvent* event) override;
};

// An edit that keeps showing the model's selection: Qt drops a selection when the focus leaves
// for another window, the model does not.
class ModelLineEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    // The caret sits at `end`; start == end selects nothing.
    void ShowSelection(int start, int end);

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    int m_start = 0, m_end = 0;
};

// A dialog's frame: reports closing, minimizing and right clicks on the background.
class TopWindow : public QWidget {
public:
    explicit TopWindow(afx::Window* top);
    afx::Window* Model() const { return m_top; }
    // Where the right click that asked for the system menu happened, once.
    std::optional<QPoint> TakeMenuPosition();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    afx::Window* m_top;
    std::optional<QPoint> m_menuAt;
};

}  // namespace ui::qt
