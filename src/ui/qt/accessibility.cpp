#include "ui/qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

#include "afx/pin_help.h"
#include "afx/template_context.h"
#include "ui/qt/control_factory.h"
#include "ui/qt/latin1.h"
#include "ui/qt/widgets.h"

namespace ui::qt {
namespace {

// A bit button as a toggle button: checked while it shows the set face. Pressing or toggling it
// from a screen reader is a click, which goes to the framework like any other; the button's face
// and checked state change only when the model gives it the other image.
class BitButtonAccessible : public QAccessibleWidget {
public:
    // A check box, as screen readers know it: Orca speaks no checked state for a push button,
    // even a checkable one, but says "check box, checked" and "not checked" on focus and on
    // every change of a check box.
    explicit BitButtonAccessible(BitmapButton* button) : QAccessibleWidget(button, QAccessible::CheckBox) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        auto* button = static_cast<BitmapButton*>(widget());
        s.checkable = true;
        s.checked = button->isChecked();
        s.pressed = button->isDown();
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
            names << pressAction() << toggleAction();
        return names;
    }

    void doAction(const QString& name) override
    {
        if (widget()->isEnabled() && (name == pressAction() || name == toggleAction()))
            static_cast<BitmapButton*>(widget())->click();
    }
};

QAccessibleInterface* InterfaceFor(const QString&, QObject* object)
{
    if (auto* top = dynamic_cast<TopWindow*>(object))
        return new QAccessibleWidget(top, QAccessible::Dialog);
    if (auto* frame = dynamic_cast<GroupFrame*>(object))
        return new QAccessibleWidget(frame, QAccessible::Grouping);
    if (auto* button = dynamic_cast<BitmapButton*>(object))
        return new BitButtonAccessible(button);
    if (auto* image = dynamic_cast<ImageWidget*>(object))
        return new QAccessibleWidget(image, QAccessible::Graphic);
    return nullptr;
}

QString GroupName(const afx::Window& ctl)
{
    const afx::Window* group = afx::GroupOf(ctl);
    return group ? StaticText(*group) : QString();
}

}  // namespace

void InstallAccessibility()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(InterfaceFor);
    installed = true;
}

void DescribeControl(QWidget* w, const afx::Window& ctl, const WidgetLookup& widgetOf)
{
    if (const afx::Window* label = afx::LabelOf(ctl)) {
        w->setAccessibleName(StaticText(*label));
        if (auto* text = qobject_cast<QLabel*>(widgetOf(label)))
            text->setBuddy(w);  // the label names the field for screen readers too
    }
    std::string line = afx::LineName(ctl);
    if (!line.empty())
        w->setAccessibleName(FromModel(line));
    // Like controls in different groups ("Continous", "Set Data") differ by their group.
    QString group = GroupName(ctl);
    QString help = FromModel(afx::PinHelp(ctl));
    QString description = group.isEmpty() ? QString() : QStringLiteral("%1 group").arg(group);
    if (!help.isEmpty())
        description = description.isEmpty() ? help : description + QStringLiteral(". ") + help;
    w->setAccessibleDescription(description);
    ShowImageState(w, ctl);
    ShowListChoice(w, ctl);
}

void ShowListChoice(QWidget* w, const afx::Window& ctl)
{
    if (ctl.kind != afx::Kind::DropDownList)
        return;
    // Qt names a list on Linux by its chosen entry, falling back to the label when there is
    // none; but it tells nobody when the entry changes, so a screen reader kept saying the
    // label. The label stays the fallback, and each new choice is announced as a new name and
    // value, which screen readers speak for the focused control.
    const afx::Window* label = afx::LabelOf(ctl);
    QString name = label ? StaticText(*label) : QString();
    if (name != w->accessibleName())
        w->setAccessibleName(name);
    QString chosen = ctl.sel >= 0 && static_cast<std::size_t>(ctl.sel) < ctl.items.size()
                         ? FromModel(ctl.items[static_cast<std::size_t>(ctl.sel)])
                         : QString();
    QVariant said = w->property("vellixSpokenChoice");
    if (said.isValid() && said.toString() == chosen)
        return;
    w->setProperty("vellixSpokenChoice", chosen);
    QAccessibleEvent named(w, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleValueChangeEvent value(w, chosen);
    QAccessible::updateAccessibility(&value);
}

void ShowImageState(QWidget* w, const afx::Window& ctl)
{
    if (auto* button = dynamic_cast<BitmapButton*>(w)) {
        button->ShowChecked(afx::ShowsOn(ctl));
        return;
    }
    std::string_view word = afx::StateWord(ctl);
    std::string line = afx::LineName(ctl);
    if (line.empty())
        return;
    QString name = FromModel(line);
    if (!word.empty())
        name += QStringLiteral(", ") + FromModel(std::string(word));
    if (name != w->accessibleName())
        w->setAccessibleName(name);
}

}  // namespace ui::qt
