#include "ui/qt/top_view.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "afx/gdi.h"
#include "afx/pin_help.h"
#include "ui/qt/accessibility.h"
#include "ui/qt/control_factory.h"
#include "ui/qt/images.h"
#include "ui/qt/latin1.h"
#include "ui/qt/system_menu.h"

namespace ui::qt {
namespace {

double ScreenDpi(const TopView* owner)
{
    QScreen* screen = owner ? owner->Frame()->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

// A caption and a close box; a dialog frame has neither a minimize nor a maximize box.
Qt::WindowFlags FrameFlags(bool owned)
{
    return (owned ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
}

// The icons a window shows, big first; one icon set as both big and small counts once.
std::vector<const res::IconGroup*> IconGroupsOf(const afx::Window& top)
{
    std::vector<const res::IconGroup*> groups;
    for (HICON h : {top.bigIcon, top.smallIcon})
        if (h && h->group && std::find(groups.begin(), groups.end(), h->group) == groups.end())
            groups.push_back(h->group);
    return groups;
}

QIcon IconOf(const std::vector<const res::IconGroup*>& groups)
{
    QIcon icon;
    for (const res::IconGroup* group : groups)
        for (const res::IconImage& img : group->images)
            icon.addPixmap(QPixmap::fromImage(ToImage(img)));
    return icon;
}

constexpr afx::What kContent[] = {afx::What::Text, afx::What::Check, afx::What::Image, afx::What::Items,
                                  afx::What::Selection, afx::What::Limit, afx::What::Enabled};

}  // namespace

TopView::TopView(afx::Window* top, TopView* owner)
    : m_top(top), m_owner(owner), m_frame(new TopWindow(top)), m_units(*top->tmpl, ScreenDpi(owner)),
      m_keys([this](QObject* o) { return ModelOf(o); })
{
    InstallAccessibility();  // before the first widget is asked for its interface
    m_frame->setWindowFlags(FrameFlags(owner != nullptr));
    m_frame->setFont(m_units.Font());
    m_frame->setFixedSize(m_units.MapSize(top->rect.cx, top->rect.cy));
    m_frame->setWindowTitle(FromModel(top->text));
    m_widgets[top] = m_frame;
    m_models[m_frame] = top;
    m_frame->installEventFilter(&m_keys);

    for (auto& child : top->children) {
        QWidget* w = CreateControl(child.get(), m_frame, m_units);
        if (!w)
            continue;
        m_widgets[child.get()] = w;
        m_models[w] = child.get();
        w->installEventFilter(&m_keys);
        for (afx::What what : kContent)
            UpdateControl(child.get(), w, what);
    }
    for (auto& child : top->children)
        if (QWidget* w = WidgetOf(child.get()))
            DescribeControl(w, *child, [this](const afx::Window* c) { return WidgetOf(c); });
    // Frames go under the controls they surround, whatever their place in the template.
    for (auto& child : top->children)
        if (child->kind == afx::Kind::GroupBox)
            if (QWidget* box = WidgetOf(child.get()))
                box->lower();

    if (owner) {
        // Owned, not parented: disabling the owner while this box runs must not disable the box.
        m_frame->winId();
        m_frame->windowHandle()->setTransientParent(owner->Frame()->windowHandle());
        m_frame->setWindowModality(Qt::ApplicationModal);
    }
    UpdateTop(afx::What::Icon);
}

TopView::~TopView()
{
    delete m_frame.data();
    // The owner is active again, as when a modal box closes.
    if (m_owner && m_owner->Frame())
        m_owner->Frame()->activateWindow();
}

QWidget* TopView::WidgetOf(const afx::Window* w) const
{
    auto it = m_widgets.find(w);
    return it == m_widgets.end() ? nullptr : it->second;
}

afx::Window* TopView::ModelOf(QObject* widget) const
{
    auto it = m_models.find(widget);
    return it == m_models.end() ? nullptr : it->second;
}

void TopView::ShowIfPending()
{
    if (!m_pendingShow)
        return;
    m_pendingShow = false;
    QRect area;
    if (m_owner)
        area = m_owner->Frame()->geometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        m_frame->setGeometry(QRect(area.center() - QPoint(m_frame->width() / 2, m_frame->height() / 2), m_frame->size()));
    if (m_top->minimized)
        m_frame->showMinimized();
    else
        m_frame->show();
    m_frame->activateWindow();
    ApplyFocus();
}

void TopView::Update(afx::Window* w, afx::What what)
{
    if (w == m_top)
        UpdateTop(what);
    else if (QWidget* widget = WidgetOf(w))
        UpdateControl(w, widget, what);
}

void TopView::UpdateTop(afx::What what)
{
    switch (what) {
    case afx::What::Text: m_frame->setWindowTitle(FromModel(m_top->text)); break;
    case afx::What::Focus: ApplyFocus(); break;
    case afx::What::Icon:
        // The panel sets the same icon as big and as small one after the other; the window
        // system is given it once.
        if (std::vector<const res::IconGroup*> groups = IconGroupsOf(*m_top); groups != m_iconGroups) {
            m_iconGroups = std::move(groups);
            m_frame->setWindowIcon(IconOf(m_iconGroups));
        }
        break;
    case afx::What::Minimized:
        if (m_pendingShow || m_top->minimized == m_frame->isMinimized())
            break;
        if (m_top->minimized)
            m_frame->showMinimized();
        else
            m_frame->showNormal();
        break;
    // A window whose modal box runs refuses input (the framework drops it, and the box is modal
    // to Qt as well) but keeps its look. The menu is read when it opens.
    default: break;
    }
}

void TopView::UpdateControl(afx::Window* ctl, QWidget* w, afx::What what)
{
    switch (what) {
    case afx::What::Text:
        if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(StaticText(*ctl));
        else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            QString text = FromModel(ctl->text);
            if (edit->text() != text) {
                QSignalBlocker quiet(edit);
                edit->setText(text);
            }
        } else if (auto* box = dynamic_cast<GroupFrame*>(w))
            box->SetTitle(StaticText(*ctl));
        else if (ctl->kind != afx::Kind::BitmapButton)
            if (auto* button = qobject_cast<QAbstractButton*>(w))
                button->setText(FromModel(ctl->text));
        break;
    case afx::What::Check:
        if (ctl->kind == afx::Kind::AutoCheckBox) {
            QSignalBlocker quiet(w);
            static_cast<QAbstractButton*>(w)->setChecked(ctl->check == BST_CHECKED);
        }
        break;
    case afx::What::Image:
        if (auto* image = dynamic_cast<ImageWidget*>(w)) {
            if (ctl->kind == afx::Kind::IconStatic) {
                const res::IconImage* icon = IconImageFor(ctl->icon, 32, 32);
                image->SetImage(icon, icon ? ToPixmap(ToImage(*icon), w->devicePixelRatioF()) : QPixmap());
            } else {
                const res::Bitmap* bmp = ctl->image ? ctl->image->bitmap : nullptr;
                image->SetImage(bmp, PixmapOf(bmp));
            }
        } else if (auto* button = dynamic_cast<BitmapButton*>(w)) {
            const res::Bitmap* bmp = ctl->image ? ctl->image->bitmap : nullptr;
            button->SetImage(bmp, PixmapOf(bmp));
        }
        ShowImageState(w, *ctl);
        break;
    case afx::What::Items:
        if (auto* list = qobject_cast<QComboBox*>(w)) {
            QSignalBlocker quiet(list);
            list->clear();
            for (const std::string& item : ctl->items)
                list->addItem(FromModel(item));
            // Adding an entry before the selected one moves the selection with it.
            list->setCurrentIndex(ctl->sel);
            ShowListChoice(w, *ctl);
        }
        break;
    case afx::What::Selection:
        if (auto* list = qobject_cast<QComboBox*>(w)) {
            QSignalBlocker quiet(list);
            list->setCurrentIndex(ctl->sel);
            ShowListChoice(w, *ctl);
        } else if (auto* edit = dynamic_cast<ModelLineEdit*>(w)) {
            edit->ShowSelection(ctl->selStart, ctl->selEnd);
        }
        break;
    case afx::What::Limit:
        // Setting the limit again would drop the edit's selection, and the panel sets it on
        // every data exchange.
        if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->maxLength() != (ctl->limit > 0 ? ctl->limit : 32767))
            edit->setMaxLength(ctl->limit > 0 ? ctl->limit : 32767);
        break;
    case afx::What::Enabled: w->setEnabled(ctl->enabled); break;
    case afx::What::HelpNote:
        w->setToolTip(FromModel(afx::PinHelp(*ctl)));
        DescribeControl(w, *ctl, [this](const afx::Window* c) { return WidgetOf(c); });
        break;
    default: break;
    }
}

QPixmap TopView::PixmapOf(const res::Bitmap* bitmap)
{
    if (!bitmap)
        return {};
    auto it = m_pixmaps.find(bitmap);
    if (it == m_pixmaps.end())
        it = m_pixmaps.emplace(bitmap, ToPixmap(ToImage(*bitmap), m_frame->devicePixelRatioF())).first;
    return it->second;
}

void TopView::ApplyFocus()
{
    if (QWidget* w = WidgetOf(m_top->focus); w && w != m_frame)
        w->setFocus(Qt::OtherFocusReason);
}

void TopView::BeginMove()
{
    if (QWindow* handle = m_frame->windowHandle())
        handle->startSystemMove();
}

void TopView::PopupSystemMenu()
{
    if (!m_menu)
        m_menu = new QMenu(m_frame);
    std::optional<QPoint> at = m_frame->TakeMenuPosition();
    ui::qt::PopupSystemMenu(*m_menu, m_top, at.value_or(m_frame->mapToGlobal(QPoint(0, 0))));
}

}  // namespace ui::qt
