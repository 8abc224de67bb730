// The window furniture in Qt: the system menu from the model, the modal about box over its
// owner, the icon, minimizing, tooltips and accessible names, and repainting only what changed.
#include <QAccessible>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QWindow>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <map>

#include "afx/input.h"
#include "qt_harness.h"
#include "res/resources.h"
#include "ui/qt/widgets.h"

namespace qttest {
namespace {

QMenu* OpenMenu(QWidget* frame)
{
    for (QMenu* m : frame->findChildren<QMenu*>())
        if (m->isVisible())
            return m;
    return nullptr;
}

// An entry as the menu shows it: its text, and its shortcut after a tab.
QString EntryText(QAction* a)
{
    QString shortcut = a->shortcut().toString(QKeySequence::PortableText);
    return shortcut.isEmpty() ? a->text() : a->text() + QLatin1Char('\t') + shortcut;
}

QStringList Entries(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : EntryText(a));
    return out;
}

QAction* EntryNamed(QMenu* menu, const QString& text)
{
    for (QAction* a : menu->actions())
        if (EntryText(a) == text)
            return a;
    return nullptr;
}

TEST(FurnitureTest, SystemMenuOpensFromTheModelOnRightClickAndAltSpace)
{
    struct Case {
        const char* name;
        std::function<void(PanelRun&)> open;
    };
    const Case cases[] = {
        {"right click on the background",
         [](PanelRun& p) {
             QPoint at(4, 4);
             QContextMenuEvent e(QContextMenuEvent::Mouse, at, p.Frame()->mapToGlobal(at));
             QCoreApplication::sendEvent(p.Frame(), &e);
         }},
        {"Alt+Space", [](PanelRun& p) { QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Space, Qt::AltModifier); }},
        {"F10", [](PanelRun& p) { QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_F10); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelRun p;
        p.ui.Then([&] {
            EXPECT_EQ(OpenMenu(p.Frame()), nullptr);
            c.open(p);
        });
        p.ui.Then([&] {
            QMenu* menu = OpenMenu(p.Frame());
            ASSERT_NE(menu, nullptr);
            EXPECT_EQ(Entries(menu), (QStringList{"&Move", "&Close\tAlt+F4", "-", "&About Vellix..."}));
            EXPECT_TRUE(EntryNamed(menu, QStringLiteral("&Move"))->isEnabled()) << "a desktop window can be moved";
            EXPECT_EQ(menu->activeAction(), EntryNamed(menu, QStringLiteral("&Move"))) << "opens on its first entry";
            // The shortcut is the action's, shown beside it, and not part of its text.
            EXPECT_EQ(EntryNamed(menu, QStringLiteral("&Close\tAlt+F4"))->text(), QStringLiteral("&Close"));
            EntryNamed(menu, QStringLiteral("&Close\tAlt+F4"))->trigger();
        });
        p.Run();
        EXPECT_EQ(p.result, IDCANCEL) << "Close in the menu cancels the panel";
    }
}

TEST(FurnitureTest, RightClickOnAControlOpensNoSystemMenu)
{
    PanelRun p;
    p.ui.Then([&] {
        QWidget* button = p.Widget(IDC_SET_DATA);
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(button, &e);
    });
    p.ui.Then([&] {
        EXPECT_EQ(OpenMenu(p.Frame()), nullptr);
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
}

TEST(FurnitureTest, AboutBoxIsModalOverThePanelWhoseLampsKeepFollowingThePort)
{
    PanelRun p;
    afx::Window* about = nullptr;
    p.ui.Sleep(afx::Duration(300));  // the first refresh: Busy goes out
    p.ui.Then([&] {
        ASSERT_EQ(ModelBitmap(p.Item(IDC_LAMP_BUSY))->id, IDB_LAMP_OFF);
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Space, Qt::AltModifier);
    });
    p.ui.Then([&] { EntryNamed(OpenMenu(p.Frame()), QStringLiteral("&About Vellix..."))->trigger(); });
    p.ui.Then([&] {
        ASSERT_EQ(p.ui.Open().size(), 2u);
        about = p.ui.Active();
        QWidget* box = p.ui.WidgetOf(about);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("About Vellix"));
        EXPECT_TRUE(box->isVisible());
        EXPECT_TRUE(box->isEnabled());
        EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(box->windowHandle()->transientParent(), p.Frame()->windowHandle());
        EXPECT_FALSE(p.dlg.m_hWnd->enabled) << "the owner takes no input while the box runs";
        QPoint offset = box->geometry().center() - p.Frame()->geometry().center();
        EXPECT_LE(offset.manhattanLength(), 1) << "centred over the panel";
        EXPECT_FALSE(box->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(box->windowFlags() & Qt::WindowMaximizeButtonHint);
        // The port changes behind the box.
        p.sim.Out(0x37A, 0x2C);  // pin 17 low, which Busy follows
    });
    p.ui.Sleep(afx::Duration(300));
    p.ui.Then([&] {
        EXPECT_EQ(ModelBitmap(p.Item(IDC_LAMP_BUSY))->id, IDB_LAMP_ON) << "the panel's tick ran";
        auto* lamp = dynamic_cast<ui::qt::ImageWidget*>(p.Widget(IDC_LAMP_BUSY));
        ASSERT_NE(lamp, nullptr);
        EXPECT_EQ(lamp->ImageKey(), res::FindBitmap(IDB_LAMP_ON));
        QTest::mouseClick(p.ui.WidgetOf(about->Child(IDOK)), Qt::LeftButton);
    });
    p.ui.Then([&] {
        EXPECT_EQ(p.ui.Open().size(), 1u);
        EXPECT_TRUE(p.Frame()->isEnabled());
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
    EXPECT_EQ(p.result, IDCANCEL);
}

// While a box runs over the panel, the panel refuses input but keeps its look: nothing greys.
TEST(FurnitureTest, ABoxOverThePanelKeepsItsLookAndOnlyRefusesInput)
{
    struct Case {
        const char* name;
        void (*open)(PanelRun&);
    };
    const Case cases[] = {
        {"about box", [](PanelRun& p) { afx::input::SysCommand(p.dlg.m_hWnd, IDM_ABOUT); }},
        {"help box", [](PanelRun& p) { QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_F1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelRun p;
        QImage button, check;
        int stateBefore = -1;
        p.ui.Then([&] {
            button = p.Widget(IDC_SET_DATA)->grab().toImage();
            check = p.Widget(IDC_CONT_DATA)->grab().toImage();
            stateBefore = p.dlg.m_nDataBitState[3];
            c.open(p);
        });
        p.ui.Then([&] {
            ASSERT_EQ(p.ui.Open().size(), 2u);
            EXPECT_FALSE(p.dlg.m_hWnd->enabled);
            EXPECT_TRUE(p.Frame()->isEnabled());
            for (QWidget* w : p.Frame()->findChildren<QWidget*>())
                EXPECT_TRUE(w->isEnabled()) << w->metaObject()->className() << " " << w->accessibleName().toStdString();
            EXPECT_EQ(p.Widget(IDC_SET_DATA)->grab().toImage(), button) << "drawn as before";
            EXPECT_EQ(p.Widget(IDC_CONT_DATA)->grab().toImage(), check) << "drawn as before";
            p.rec.Clear();
            // Events sent straight to the widgets pass Qt's modality; the framework drops them.
            QTest::mouseClick(p.Widget(IDC_DATA_BIT3), Qt::LeftButton);
            QTest::mouseClick(p.Widget(IDC_SET_DATA), Qt::LeftButton);
        });
        p.ui.Then([&] {
            EXPECT_TRUE(p.rec.Log().empty()) << "no write, no read outside the tick";
            EXPECT_EQ(p.dlg.m_nDataBitState[3], stateBefore);
            QTest::mouseClick(p.ui.WidgetOf(p.ui.Active()->Child(IDOK)), Qt::LeftButton);
        });
        p.ui.Then([&] {
            EXPECT_EQ(p.ui.Open().size(), 1u);
            EXPECT_TRUE(p.dlg.m_hWnd->enabled);
            QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
        });
        p.Run();
        EXPECT_EQ(p.result, IDCANCEL);
    }
}

TEST(FurnitureTest, WindowIconCarriesAllThreeImagesWithTheirMasks)
{
    PanelRun p;
    p.ui.Then([&] {
        QIcon icon = p.Frame()->windowIcon();
        QList<QSize> sizes = icon.availableSizes();
        for (QSize s : {QSize(16, 16), QSize(32, 32), QSize(60, 32)})
            EXPECT_TRUE(sizes.contains(s)) << s.width() << "x" << s.height();
        const res::IconImage& big = res::FindIcon(IDI_APP)->images.front();
        QImage img = icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(img.size(), QSize(32, 32));
        int wrong = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                wrong += (qAlpha(img.pixel(x, y)) == 255) != big.IsOpaque(x, y);
        EXPECT_EQ(wrong, 0);
        EXPECT_FALSE(p.Frame()->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_TRUE(p.Frame()->windowFlags() & Qt::WindowCloseButtonHint);
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
}

TEST(FurnitureTest, MinimizingFollowsTheWindowManagerAndTheModel)
{
    PanelRun p;
    p.ui.Then([&] { p.Frame()->showMinimized(); });  // as the window manager does it
    p.ui.Then([&] {
        EXPECT_TRUE(p.dlg.m_hWnd->minimized);
        p.Frame()->showNormal();
    });
    p.ui.Then([&] {
        EXPECT_FALSE(p.dlg.m_hWnd->minimized);
        afx::input::SysCommand(p.dlg.m_hWnd, SC_MINIMIZE);  // the framework's own minimize
    });
    p.ui.Then([&] {
        EXPECT_TRUE(p.Frame()->isMinimized());
        afx::input::SysCommand(p.dlg.m_hWnd, SC_RESTORE);
    });
    p.ui.Then([&] {
        EXPECT_FALSE(p.Frame()->isMinimized());
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
}

// Line, pin and inversion of every lamp and bit button, from the connector's pin-out.
struct Line {
    int id;
    const char* name;
    int pin;  // 0: none
    bool inverted;
};
const Line kLines[] = {
    {1029, "D0", 2, false}, {1028, "D1", 3, false}, {1027, "D2", 4, false}, {1026, "D3", 5, false},
    {1025, "D4", 6, false}, {1024, "D5", 7, false}, {1023, "D6", 8, false}, {1022, "D7", 9, false},
    {1012, "D0", 2, false}, {1013, "D1", 3, false}, {1014, "D2", 4, false}, {1015, "D3", 5, false},
    {1016, "D4", 6, false}, {1017, "D5", 7, false}, {1018, "D6", 8, false}, {1019, "D7", 9, false},
    {1036, "Error", 15, false}, {1035, "Select", 13, false}, {1034, "PEnd", 12, false},
    {1031, "Ack", 10, false}, {1030, "Busy", 11, true},
    {1041, "Strobe", 1, true}, {1040, "Auto", 14, true}, {1039, "Init", 16, false}, {1038, "Input", 17, true},
    {1037, "TriState", 0, false},
    {1048, "Strobe", 1, true}, {1049, "Auto", 14, true}, {1050, "Init", 16, false}, {1051, "Input", 17, true},
    {1052, "TriState", 0, false},
};

TEST(FurnitureTest, EveryLampAndBitButtonNamesItsLinePinAndInversion)
{
    PanelRun p;
    p.ui.Then([&] {
        int covered = 0;
        for (auto& c : p.dlg.m_hWnd->children)
            covered += c->kind == afx::Kind::BitmapStatic || c->kind == afx::Kind::BitmapButton;
        EXPECT_EQ(covered, static_cast<int>(std::size(kLines))) << "the table covers the template";
        for (const Line& l : kLines) {
            QWidget* w = p.Widget(l.id);
            ASSERT_NE(w, nullptr) << l.id;
            QString tip = w->toolTip();
            SCOPED_TRACE(tip.toStdString());
            EXPECT_TRUE(tip.startsWith(QString::fromLatin1(l.name) + ", "));
            if (l.pin) {
                EXPECT_TRUE(tip.contains(QStringLiteral("pin %1,").arg(l.pin)));
                EXPECT_EQ(tip.contains(QStringLiteral("inverted by the port")), l.inverted);
                EXPECT_EQ(tip.contains(QStringLiteral("not inverted")), !l.inverted);
            } else {
                EXPECT_TRUE(tip.contains(QStringLiteral("no pin")));
                EXPECT_TRUE(tip.contains(QStringLiteral("data-direction")));
            }
            bool lamp = p.Item(l.id)->kind == afx::Kind::BitmapStatic;
            EXPECT_TRUE(tip.contains(lamp ? QStringLiteral("lit means") : QStringLiteral("set means")));
            // The description says the group, then the same help.
            EXPECT_TRUE(w->accessibleDescription().endsWith(QStringLiteral(". ") + tip)) << w->accessibleDescription().toStdString();
            EXPECT_TRUE(w->accessibleName().startsWith(QString::fromLatin1(l.name) + (lamp ? " lamp" : " bit button")));
        }
        // What a lit lamp means at the pin: the port inverts Busy only among the inputs, and the
        // panel shows every control line as its pin level.
        EXPECT_TRUE(p.Widget(IDC_LAMP_BUSY)->toolTip().endsWith(QStringLiteral("lit means pin 11 is low")));
        EXPECT_TRUE(p.Widget(IDC_LAMP_ACK)->toolTip().endsWith(QStringLiteral("lit means pin 10 is high")));
        EXPECT_TRUE(p.Widget(IDC_LAMP_STROBE)->toolTip().contains(QStringLiteral("lit means pin 1 is high")));
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
}

// Lamps say their state in their name; bit buttons keep their name and are checked with the set
// face, a state a click asks the model for and never sets itself.
TEST(FurnitureTest, AccessibleStateFollowsTheImages)
{
    PanelRun p;
    auto checked = [&](int id) { return static_cast<QAbstractButton*>(p.Widget(id))->isChecked(); };
    p.ui.Then([&] { EXPECT_EQ(p.Widget(IDC_LAMP_BUSY)->accessibleName(), QStringLiteral("Busy lamp, lit")) << "until the first refresh"; });
    p.ui.Sleep(afx::Duration(300));
    p.ui.Then([&] {
        EXPECT_EQ(p.Widget(IDC_DATA_BIT0)->accessibleName(), QStringLiteral("D0 bit button"));
        EXPECT_FALSE(checked(IDC_DATA_BIT0));  // 0xAA
        EXPECT_TRUE(checked(IDC_DATA_BIT1));
        EXPECT_EQ(p.Widget(IDC_LAMP_BUSY)->accessibleName(), QStringLiteral("Busy lamp, unlit"));
        QTest::mouseClick(p.Widget(IDC_DATA_BIT0), Qt::LeftButton);
        EXPECT_FALSE(checked(IDC_DATA_BIT0)) << "the click alone checks nothing";
        p.sim.Out(0x37A, 0x2C);
    });
    p.ui.Sleep(afx::Duration(300));
    p.ui.Then([&] {
        EXPECT_EQ(p.Widget(IDC_DATA_BIT0)->accessibleName(), QStringLiteral("D0 bit button"));
        EXPECT_TRUE(checked(IDC_DATA_BIT0));
        EXPECT_EQ(p.Widget(IDC_LAMP_BUSY)->accessibleName(), QStringLiteral("Busy lamp, lit"));
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
}

// What a screen reader is handed: a bit button is a check box with its state (Orca speaks no
// state of a push button), and the port list is named by its chosen port once there is one.
TEST(FurnitureTest, ScreenReadersAreHandedTheBitsStateAndTheChosenPort)
{
    PanelRun p({0x278, 0x378});
    auto spoken = [&](int id) { return QAccessible::queryAccessibleInterface(p.Widget(id)); };
    p.ui.Then([&] {
        QAccessibleInterface* d0 = spoken(IDC_DATA_BIT0);
        QAccessibleInterface* d1 = spoken(IDC_DATA_BIT1);
        ASSERT_TRUE(d0 && d1);
        EXPECT_EQ(d0->role(), QAccessible::CheckBox);
        EXPECT_TRUE(d0->state().checkable);
        EXPECT_FALSE(d0->state().checked);  // 0xAA
        EXPECT_TRUE(d1->state().checked);
        ASSERT_EQ(p.Item(IDC_BASE_ADDR)->items, (std::vector<std::string>{"0x0278", "0x0378"}));
        EXPECT_EQ(spoken(IDC_BASE_ADDR)->text(QAccessible::Name), QStringLiteral("Base Addr")) << "nothing chosen yet";
        afx::input::Pick(p.Item(IDC_BASE_ADDR), 1);
    });
    p.ui.Then([&] {
        EXPECT_EQ(spoken(IDC_BASE_ADDR)->text(QAccessible::Name), QStringLiteral("0x0378"));
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
}

// Counts paint events per widget.
class PaintCounter : public QObject {
public:
    std::map<QObject*, int> paints;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints[o];
        return false;
    }
};

TEST(FurnitureTest, OnlyLampsWhoseImageChangedAreRepainted)
{
    PanelRun p;
    PaintCounter counter;
    std::vector<int> lamps;
    p.ui.Sleep(afx::Duration(600));  // settle: first ticks done, window exposed
    p.ui.Then([&] {
        for (auto& c : p.dlg.m_hWnd->children)
            if (c->kind == afx::Kind::BitmapStatic) {
                lamps.push_back(c->id);
                p.ui.WidgetOf(c.get())->installEventFilter(&counter);
            }
    });
    p.ui.Sleep(afx::Duration(900));  // three ticks that find the port as it was
    p.ui.Then([&] {
        QCoreApplication::processEvents();
        for (int id : lamps)
            EXPECT_EQ(counter.paints[p.Widget(id)], 0) << "lamp " << id << " repainted with its own image";
        // The same image reported again costs nothing either.
        p.ui.Changed(p.Item(IDC_LAMP_ACK), afx::What::Image);
        p.sim.Out(0x37A, 0x2C);  // pin 17 low: changes Busy only
    });
    p.ui.Sleep(afx::Duration(300));
    p.ui.Then([&] {
        QCoreApplication::processEvents();
        for (int id : lamps)
            EXPECT_EQ(counter.paints[p.Widget(id)] > 0, id == IDC_LAMP_BUSY) << "lamp " << id;
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
}

// Each refresh gives the TriState lamp two images, one per control slot it shows; with TriState
// cleared they differ, yet the lamp shows the second steadily: no repaint.
TEST(FurnitureTest, TriStateLampClearedStaysQuietBetweenTicks)
{
    PanelRun p;
    PaintCounter counter;
    QWidget* lamp = nullptr;
    p.ui.Sleep(afx::Duration(600));
    p.ui.Then([&] {
        lamp = p.Widget(IDC_LAMP_TRISTATE);
        lamp->installEventFilter(&counter);
        QTest::mouseClick(p.Widget(IDC_CONT_CTRL), Qt::LeftButton);
        QTest::mouseClick(p.Widget(IDC_CTRL_TRISTATE), Qt::LeftButton);
    });
    p.ui.Sleep(afx::Duration(300));
    p.ui.Then([&] {
        QCoreApplication::processEvents();
        EXPECT_EQ(lamp->accessibleName(), QStringLiteral("TriState lamp, unlit"));
        EXPECT_GE(counter.paints[lamp], 1);
        counter.paints.clear();
    });
    p.ui.Sleep(afx::Duration(1500));  // five ticks
    p.ui.Then([&] {
        QCoreApplication::processEvents();
        EXPECT_EQ(p.dlg.m_nCtrlWritten & 0x20, 0) << "TriState still cleared";
        EXPECT_EQ(counter.paints[lamp], 0);
        EXPECT_EQ(lamp->accessibleName(), QStringLiteral("TriState lamp, unlit"));
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
}

}  // namespace
}  // namespace qttest
