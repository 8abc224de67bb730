#include "ui/qt/control_factory.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include "afx/access_key.h"
#include "afx/input.h"
#include "ui/qt/latin1.h"
#include "afx/pin_help.h"
#include "ui/qt/widgets.h"

namespace ui::qt {
namespace {

QWidget* MakeLabel(afx::Window*, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    // A static text starts at the top left of its rectangle and wraps at word boundaries.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setMargin(0);
    label->setIndent(0);
    label->setContentsMargins(0, 0, 0, 0);
    return label;
}

QWidget* MakePushButton(afx::Window* ctl, QWidget* parent)
{
    auto* button = new PushButton(parent);
    // The default button is drawn as such; Enter is the framework's to handle.
    button->setAutoDefault(false);
    button->setDefault(ctl->kind == afx::Kind::DefPushButton);
    QObject::connect(button, &QPushButton::clicked, button, [ctl] { afx::input::Click(ctl); });
    return button;
}

QWidget* MakeBitmapButton(afx::Window* ctl, QWidget* parent)
{
    auto* button = new BitmapButton(parent);
    QObject::connect(button, &QPushButton::clicked, button, [ctl] { afx::input::Click(ctl); });
    return button;
}

QWidget* MakeCheckBox(afx::Window* ctl, QWidget* parent)
{
    auto* box = new ModelCheckBox(parent);
    box->setCheckable(true);
    QObject::connect(box, &QCheckBox::clicked, box, [ctl] { afx::input::Click(ctl); });
    return box;
}

QWidget* MakeEdit(afx::Window* ctl, QWidget* parent)
{
    auto* edit = new ModelLineEdit(parent);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [ctl](const QString& text) { afx::input::EditText(ctl, ToModel(text)); });
    return edit;
}

QWidget* MakeDropDownList(afx::Window* ctl, QWidget* parent)
{
    auto* list = new DropDownList(parent);
    list->setEditable(false);
    QObject::connect(list, &QComboBox::activated, list, [ctl](int index) { afx::input::Pick(ctl, index); });
    return list;
}

// The closed box is as high as a line of the font plus its frame; the template height is the
// box together with its dropped list.
void PlaceDropDownList(QComboBox* list, QRect r, const DialogUnits& units)
{
    int closed = std::min(r.height(), units.BaseY() + 8);
    list->setGeometry(r.x(), r.y(), r.width(), closed);
    int line = std::max(1, QFontMetrics(units.Font()).height() + 1);
    list->setMaxVisibleItems(std::max(1, (r.height() - closed) / line));
}

}  // namespace

QString StaticText(const afx::Window& ctl) { return FromModel(afx::ShownText(ctl)); }

QWidget* CreateControl(afx::Window* ctl, QWidget* parent, const DialogUnits& units)
{
    QWidget* w = nullptr;
    switch (ctl->kind) {
    case afx::Kind::StaticText: w = MakeLabel(ctl, parent); break;
    case afx::Kind::GroupBox: w = new GroupFrame(parent, units.BaseY()); break;
    case afx::Kind::BitmapStatic:
    case afx::Kind::IconStatic: w = new ImageWidget(parent); break;
    case afx::Kind::PushButton:
    case afx::Kind::DefPushButton: w = MakePushButton(ctl, parent); break;
    case afx::Kind::BitmapButton: w = MakeBitmapButton(ctl, parent); break;
    case afx::Kind::AutoCheckBox: w = MakeCheckBox(ctl, parent); break;
    case afx::Kind::Edit: w = MakeEdit(ctl, parent); break;
    case afx::Kind::DropDownList: w = MakeDropDownList(ctl, parent); break;
    case afx::Kind::Dialog: return nullptr;
    }

    QRect r = units.Map(ctl->rect);
    if (auto* list = qobject_cast<QComboBox*>(w))
        PlaceDropDownList(list, r, units);
    else if (ctl->kind == afx::Kind::BitmapStatic || ctl->kind == afx::Kind::IconStatic)
        w->move(r.topLeft());  // an image static takes the size of its image
    else
        w->setGeometry(r);

    // Only the edit has a menu of its own; elsewhere a right click is the window's.
    if (ctl->IsButtonLike() || ctl->kind == afx::Kind::AutoCheckBox || ctl->kind == afx::Kind::DropDownList)
        w->setContextMenuPolicy(Qt::PreventContextMenu);
    w->setToolTip(FromModel(afx::PinHelp(*ctl)));
    w->setVisible((ctl->style & WS_VISIBLE) != 0);
    return w;
}

}  // namespace ui::qt
