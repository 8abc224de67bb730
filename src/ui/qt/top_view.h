// The Qt view of one top-level window of the model: its frame, one widget per control, and the
// updates that keep each widget equal to its record.
#pragma once

#include <QMenu>
#include <QPointer>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "afx/window.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/key_filter.h"
#include "ui/qt/widgets.h"

namespace ui::qt {

class TopView {
public:
    // `owner` is the view of the owning window, or null.
    TopView(afx::Window* top, TopView* owner);
    ~TopView();
    TopView(const TopView&) = delete;
    TopView& operator=(const TopView&) = delete;

    afx::Window* Model() const { return m_top; }
    TopWindow* Frame() const { return m_frame; }
    const DialogUnits& Units() const { return m_units; }
    // The widget of the window itself or of one of its controls; null for others.
    QWidget* WidgetOf(const afx::Window* w) const;
    afx::Window* ModelOf(QObject* widget) const;

    // Shown once the dialog has initialised itself, so its first frame is already complete.
    void ShowIfPending();
    // One property of the window or of one control changed.
    void Update(afx::Window* w, afx::What what);
    void PopupSystemMenu();
    // The window manager moves the window from here on; without one there is nothing to do.
    void BeginMove();

private:
    void UpdateTop(afx::What what);
    void UpdateControl(afx::Window* ctl, QWidget* w, afx::What what);
    QPixmap PixmapOf(const res::Bitmap* bitmap);
    void ApplyFocus();

    afx::Window* m_top;
    TopView* m_owner;
    QPointer<TopWindow> m_frame;
    DialogUnits m_units;
    KeyFilter m_keys;
    QPointer<QMenu> m_menu;
    std::unordered_map<const afx::Window*, QWidget*> m_widgets;
    std::unordered_map<const QObject*, afx::Window*> m_models;
    std::map<const res::Bitmap*, QPixmap> m_pixmaps;
    std::vector<const res::IconGroup*> m_iconGroups;  // those the frame's icon was made of
    bool m_pendingShow = true;
};

}  // namespace ui::qt
