// Layout: dialog units become pixels through the dialog font, every control sits where its
// template puts it, every text fits, and images are drawn pixel for pixel.
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

#include "afx/gdi.h"
#include "afx/input.h"
#include "shell/AboutDlg.h"
#include "qt_harness.h"
#include "res/resources.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/images.h"
#include "ui/qt/top_view.h"
#include "ui/qt/widgets.h"

namespace qttest {
namespace {

using ui::qt::DialogUnits;

TEST(DialogUnitsTest, MulDivRoundsHalfAwayFromZero)
{
    struct Case { int a, b, c, want; };
    const Case cases[] = {
        {9, 6, 4, 14},      // 13.5
        {33, 6, 4, 50},     // 49.5
        {31, 6, 4, 47},     // 46.5
        {231, 13, 8, 375},  // 375.375
        {55, 13, 8, 89},    // 89.375
        {8, 96, 72, 11},    // 10.67: 8 points at 96 dpi
        {-3, 6, 4, -5},     // -4.5
        {0, 6, 4, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::qt::MulDiv(c.a, c.b, c.c), c.want) << c.a << " * " << c.b << " / " << c.c;
}

TEST(DialogUnitsTest, TheDialogFontGivesTheClassicBaseUnitsAndWindowSizes)
{
    EnsureApplication();
    struct Case { int dialog; QSize client; };
    const Case cases[] = {{IDD_PANEL, {549, 375}}, {IDD_ABOUT, {326, 89}}};
    for (const Case& c : cases) {
        const res::DialogTemplate* tmpl = res::FindDialog(c.dialog);
        ASSERT_NE(tmpl, nullptr);
        DialogUnits units(*tmpl, 96.0);
        EXPECT_EQ(QFontInfo(units.Font()).family(), QStringLiteral("Liberation Sans"));
        EXPECT_EQ(units.Font().pixelSize(), 11);
        EXPECT_EQ(units.BaseX(), 6);
        EXPECT_EQ(units.BaseY(), 13);
        EXPECT_EQ(units.MapSize(tmpl->rect.cx, tmpl->rect.cy), c.client) << "dialog " << c.dialog;
    }
}

// Where a control's widget must be: its template rectangle, except that an image static takes
// the size of its image and a drop-down list's template height includes its dropped list.
void ExpectAtTemplatePlace(const afx::Window& ctl, const QWidget& w, const DialogUnits& units)
{
    QRect want = units.Map(ctl.rect);
    SCOPED_TRACE(testing::Message() << "control " << ctl.id << " \"" << ctl.text << "\"");
    switch (ctl.kind) {
    case afx::Kind::BitmapStatic: {
        const res::Bitmap* bmp = ModelBitmap(&ctl);
        ASSERT_NE(bmp, nullptr);
        EXPECT_EQ(w.geometry(), QRect(want.topLeft(), QSize(bmp->width, bmp->height)));
        break;
    }
    case afx::Kind::IconStatic: EXPECT_EQ(w.geometry(), QRect(want.topLeft(), QSize(32, 32))); break;
    case afx::Kind::DropDownList: {
        EXPECT_EQ(w.pos(), want.topLeft());
        EXPECT_EQ(w.width(), want.width());
        auto& list = static_cast<const QComboBox&>(w);
        int dropped = list.maxVisibleItems() * QFontMetrics(list.font()).height();
        EXPECT_LE(w.height() + dropped, want.height()) << "the dropped list fits the template height";
        EXPECT_GE(list.maxVisibleItems(), 2);
        break;
    }
    default: EXPECT_EQ(w.geometry(), want);
    }
}

// A text is whole when its advance and the font's height fit where the control draws it.
void ExpectTextFits(const afx::Window& ctl, const QWidget& w)
{
    SCOPED_TRACE(testing::Message() << "control " << ctl.id << " \"" << ctl.text << "\"");
    QFontMetrics fm(w.font());
    QString text = QString::fromLatin1(ctl.text.c_str());
    switch (ctl.kind) {
    case afx::Kind::StaticText:
        EXPECT_LE(fm.horizontalAdvance(text), w.width());
        EXPECT_LE(fm.height(), w.height());
        break;
    case afx::Kind::GroupBox: EXPECT_LE(7 + fm.horizontalAdvance(text), w.width()); break;
    case afx::Kind::AutoCheckBox: EXPECT_LE(w.sizeHint().width(), w.width()); break;
    case afx::Kind::PushButton:
    case afx::Kind::DefPushButton: {
        QStyleOptionButton opt;
        opt.initFrom(&w);
        QRect inside = w.style()->subElementRect(QStyle::SE_PushButtonContents, &opt, &w);
        EXPECT_LE(fm.horizontalAdvance(text), inside.width());
        EXPECT_LE(fm.height(), inside.height());
        break;
    }
    default: break;
    }
}

void CheckWindow(ScriptedQt& ui, afx::Window* top)
{
    ui::qt::TopView* view = ui.ViewOf(top);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Frame()->size(), view->Units().MapSize(top->rect.cx, top->rect.cy));
    for (auto& c : top->children) {
        QWidget* w = ui.WidgetOf(c.get());
        ASSERT_NE(w, nullptr) << "control " << c->id;
        ExpectAtTemplatePlace(*c, *w, view->Units());
        ExpectTextFits(*c, *w);
        if (c->kind == afx::Kind::BitmapButton) {
            EXPECT_TRUE(static_cast<QPushButton*>(w)->text().isEmpty()) << "a bit button never shows its text";
        }
    }
}

TEST(LayoutTest, PanelControlsSitAtTheirTemplatePlacesWithEveryTextWhole)
{
    PanelRun p;
    p.ui.Then([&] { CheckWindow(p.ui, p.dlg.m_hWnd); });
    p.ui.Then([&] { afx::input::Key(p.dlg.m_hWnd, VK_ESCAPE); });
    p.Run();
}

TEST(LayoutTest, AboutBoxControlsSitAtTheirTemplatePlacesWithEveryTextWhole)
{
    PanelRun p;  // for the application, the bus and the scratch directory
    CAboutDlg about;
    p.ui.Then([&] { CheckWindow(p.ui, about.m_hWnd); });
    p.ui.Then([&] { afx::input::Key(about.m_hWnd, VK_RETURN); });
    EXPECT_EQ(about.DoModal(), IDOK);
}

// Every lamp and bit button in a grab of the whole window shows its model image exactly: 12 x 12
// lamps, 11 x 11 faces centred in their buttons.
void ExpectImagesInGrab(PanelRun& p, int* checked)
{
    QImage grab = p.Frame()->grab().toImage();
    for (auto& c : p.dlg.m_hWnd->children) {
        if (c->kind != afx::Kind::BitmapStatic && c->kind != afx::Kind::BitmapButton)
            continue;
        const res::Bitmap* bmp = ModelBitmap(c.get());
        ASSERT_NE(bmp, nullptr) << "control " << c->id;
        QWidget* w = p.ui.WidgetOf(c.get());
        QPoint origin = w->pos() + QPoint((w->width() - bmp->width) / 2, (w->height() - bmp->height) / 2);
        EXPECT_EQ(PixelsDiffering(grab, origin, *bmp), 0) << "control " << c->id << " image " << bmp->id;
        ++*checked;
    }
}

TEST(LayoutTest, LampsAndBitButtonsShowTheirBitmapsPixelForPixel)
{
    PanelRun p;
    int checked = 0;
    p.ui.Then([&] { ExpectImagesInGrab(p, &checked); });
    // Change some images through the panel and look again.
    p.ui.Then([&] { afx::input::Click(p.Item(IDC_CONT_CTRL)); });
    p.ui.Then([&] { afx::input::Click(p.Item(IDC_CTRL_TRISTATE)); });
    p.ui.Then([&] { afx::input::Click(p.Item(IDC_DATA_BIT0)); });
    p.ui.Then([&] { ExpectImagesInGrab(p, &checked); });
    p.ui.Then([&] { afx::input::Key(p.dlg.m_hWnd, VK_ESCAPE); });
    p.Run();
    EXPECT_EQ(checked, 2 * (18 + 13));
}

TEST(LayoutTest, AboutBoxIconIsDrawnWithItsMask)
{
    PanelRun p;
    CAboutDlg about;
    p.ui.Then([&] {
        afx::Window* iconStatic = about.m_hWnd->children.front().get();
        ASSERT_EQ(iconStatic->kind, afx::Kind::IconStatic);
        const res::IconImage* img = IconImageFor(iconStatic->icon, 32, 32);
        ASSERT_NE(img, nullptr);
        QWidget* frame = p.ui.WidgetOf(about.m_hWnd);
        QImage grab = frame->grab().toImage();
        QPoint at = p.ui.WidgetOf(iconStatic)->pos();
        QRgb background = frame->palette().color(QPalette::Window).rgb();
        int wrong = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                res::Rgb c = img->At(x, y);
                QRgb want = img->IsOpaque(x, y) ? qRgb(c.r, c.g, c.b) : background;
                wrong += (grab.pixel(at.x() + x, at.y() + y) & 0xFFFFFF) != (want & 0xFFFFFF);
            }
        EXPECT_EQ(wrong, 0);
    });
    p.ui.Then([&] { afx::input::Key(about.m_hWnd, VK_ESCAPE); });
    EXPECT_EQ(about.DoModal(), IDCANCEL);
}

TEST(ImagesTest, ImagesFollowTheScreensScaleWithHardEdges)
{
    EnsureApplication();
    const res::Bitmap* lamp = res::FindBitmap(IDB_LAMP_ON);
    ASSERT_NE(lamp, nullptr);
    // A lamp is 12 x 12 logical pixels at every factor: 15 device pixels at 1.25, 18 at 1.5 (not
    // 24, which drew it over the next label), 21 at 1.75.
    struct Case { double ratio; int devicePixels; };
    const Case cases[] = {{1.0, 12}, {1.25, 15}, {1.5, 18}, {1.75, 21}, {2.0, 24}, {3.0, 36}};
    for (const Case& c : cases) {
        QPixmap pix = ui::qt::ToPixmap(ui::qt::ToImage(*lamp), c.ratio);
        EXPECT_EQ(pix.deviceIndependentSize().toSize(), QSize(12, 12)) << c.ratio;
        QImage img = pix.toImage();
        ASSERT_EQ(img.size(), QSize(c.devicePixels, c.devicePixels)) << c.ratio;
        // Every device pixel has exactly the colour of an image pixel under it: no smoothing.
        int wrong = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                res::Rgb want = lamp->At(x * 12 / c.devicePixels, y * 12 / c.devicePixels);
                wrong += (img.pixel(x, y) & 0xFFFFFF) != (qRgb(want.r, want.g, want.b) & 0xFFFFFF);
            }
        EXPECT_EQ(wrong, 0) << "mixed colours at ratio " << c.ratio;
    }
}

}  // namespace
}  // namespace qttest
