// The benchmark's peer: the register panel as a user would write it directly against Qt
// Widgets, without Vellix's window model. The same 62 controls at the same pixel places
// (peer_layout.h, generated from the dialog template), the same images and window icon, the
// same start-up on the io library's simulated port (probe the four bases, the saved choice, read
// the data register, write 0x24 to the control register), and a 300 ms QTimer that reads the
// data and status registers and sets only the lamp images that changed. The rows work as the
// panel's do, so the peer carries the code a working program carries, not only its look.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <fstream>
#include <string>

#include "io/simulated_port.h"
#include "peer_layout.h"

namespace {

constexpr int kBases[4] = {0x278, 0x300, 0x378, 0x3BC};
constexpr const char* kBaseLabels[4] = {"0x0278", "0x0300", "0x0378", "0x03BC"};
// Status lamps by control ID, for status bits 3..7.
constexpr int kStatusLampIds[5] = {1036, 1035, 1034, 1031, 1030};
// Control lamps and bit buttons by control slot 0..4 (slot 4 is TriState, register bit 5); a
// slot's lamp is lit and its face set when its bit has the value in kCtrlOnValue.
constexpr int kCtrlLampIds[5] = {1041, 1040, 1039, 1038, 1037};
constexpr int kCtrlButtonIds[5] = {1048, 1049, 1050, 1051, 1052};
constexpr int kCtrlBits[5] = {0, 1, 2, 3, 5};
constexpr bool kCtrlOnValue[5] = {false, false, true, false, true};
// Lamp control IDs run from 1022 to 1041 (two IDs in that range are check boxes).
constexpr int kFirstLamp = 1022;
constexpr int kLampCount = 20;

class Panel : public QWidget {
public:
    Panel()
    {
        setWindowTitle(QStringLiteral("Qt peer of %1").arg(QLatin1String(peer::kCaption)));
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowCloseButtonHint);
        QFont font(QString::fromLatin1(peer::kFontFamily));
        font.setPixelSize(peer::kFontPixels);
        setFont(font);
        setFixedSize(peer::kWidth, peer::kHeight);
        QIcon icon;
        for (const char* const* xpm : peer::kIconXpms)
            icon.addPixmap(QPixmap(xpm));
        setWindowIcon(icon);
        m_lampOn = QPixmap(peer::kLampOnXpm);
        m_lampOff = QPixmap(peer::kLampOffXpm);
        m_set = QIcon(QPixmap(peer::kButtonSetXpm));
        m_clear = QIcon(QPixmap(peer::kButtonClearXpm));
        for (const peer::Control& c : peer::kControls)
            Add(c);
        for (QGroupBox* box : findChildren<QGroupBox*>())
            box->lower();

        LoadPorts();
        m_dataByte = m_port.In(Port(0));
        m_value->setText(Hex(m_dataByte));
        m_value->selectAll();
        ShowDataFaces();
        for (int s = 0; s < 5; ++s)
            m_ctrlButton[s]->setIcon(m_set);
        m_port.Out(Port(2), static_cast<std::uint8_t>(m_ctrlByte));
        m_ctrlWritten = m_ctrlByte;
        m_value->setFocus();

        connect(&m_timer, &QTimer::timeout, this, [this] { RefreshLamps(); });
        m_timer.start(300);
    }

private:
    void Add(const peer::Control& c)
    {
        QWidget* w = nullptr;
        const QString text = QString::fromLatin1(c.text);
        switch (c.kind) {
        case peer::Kind::Label: {
            auto* label = new QLabel(text, this);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            w = label;
            break;
        }
        case peer::Kind::GroupBox: w = new QGroupBox(text, this); break;
        case peer::Kind::Lamp: {
            auto* lamp = new QLabel(this);
            lamp->setPixmap(m_lampOn);
            m_lamps[c.id - kFirstLamp] = lamp;
            w = lamp;
            break;
        }
        case peer::Kind::PushButton:
        case peer::Kind::DefaultButton: w = AddButton(c, text); break;
        case peer::Kind::BitButton: w = AddBitButton(c); break;
        case peer::Kind::CheckBox: {
            auto* box = new QCheckBox(text, this);
            (c.id == 1032 ? m_contData : m_contCtrl) = box;
            connect(box, &QCheckBox::toggled, this, [this, id = c.id](bool on) { ContinuousChanged(id, on); });
            w = box;
            break;
        }
        case peer::Kind::Edit:
            m_value = new QLineEdit(this);
            m_value->setMaxLength(2);
            connect(m_value, &QLineEdit::textEdited, this, [this](const QString& t) { ValueEdited(t); });
            w = m_value;
            break;
        case peer::Kind::DropList:
            m_baseList = new QComboBox(this);
            m_baseList->setMaxVisibleItems(peer::kListVisibleItems);
            connect(m_baseList, &QComboBox::activated, this,
                    [this](int i) { m_base = m_baseList->itemText(i).toInt(nullptr, 16); });
            w = m_baseList;
            break;
        }
        w->setGeometry(c.x, c.y, c.width, c.height);
    }

    QWidget* AddButton(const peer::Control& c, const QString& text)
    {
        auto* button = new QPushButton(text, this);
        button->setAutoDefault(false);
        button->setDefault(c.kind == peer::Kind::DefaultButton);
        if (c.id == 1)
            connect(button, &QPushButton::clicked, this, [this] { SaveChoice(); close(); });
        else if (c.id == 2)
            connect(button, &QPushButton::clicked, this, &QWidget::close);
        else if (c.id == 1021)
            connect(button, &QPushButton::clicked, this, [this] { WriteData(); });
        else
            connect(button, &QPushButton::clicked, this, [this] { WriteCtrl(); });
        return button;
    }

    QWidget* AddBitButton(const peer::Control& c)
    {
        auto* button = new QPushButton(this);
        button->setIconSize(QSize(11, 11));
        if (c.id >= 1012 && c.id <= 1019) {
            const int bit = c.id - 1012;
            m_dataButton[bit] = button;
            connect(button, &QPushButton::clicked, this, [this, bit] { FlipDataBit(bit); });
        } else {
            const int slot = c.id - 1048;
            m_ctrlButton[slot] = button;
            connect(button, &QPushButton::clicked, this, [this, slot] { FlipCtrlBit(slot); });
        }
        return button;
    }

    std::uint16_t Port(int offset) const { return static_cast<std::uint16_t>(m_base + offset); }
    static QString Hex(int v) { return QString::number(v, 16).toUpper(); }

    // The ports that keep a byte written to them, and the saved choice among them.
    void LoadPorts()
    {
        std::string saved;
        std::ifstream file("config.ovm");
        std::getline(file, saved);
        int selected = -1;
        for (int i = 0; i < 4; ++i) {
            const auto p = static_cast<std::uint16_t>(kBases[i]);
            m_port.Out(p, 0xAA);
            m_port.Out(static_cast<std::uint16_t>(p + 2), 0x00);
            if (m_port.In(p) != 0xAA)
                continue;
            m_baseList->addItem(QString::fromLatin1(kBaseLabels[i]));
            if (saved == kBaseLabels[i]) {
                m_base = kBases[i];
                selected = m_baseList->count() - 1;
            }
        }
        // Nothing is picked until the user picks, unless the saved port answered.
        m_baseList->setCurrentIndex(selected);
    }

    void SaveChoice()
    {
        if (m_baseList->currentIndex() >= 0)
            std::ofstream("config.ovm") << m_baseList->currentText().toStdString();
    }

    void ShowDataFaces()
    {
        for (int i = 0; i < 8; ++i)
            m_dataButton[i]->setIcon((m_dataByte >> i) & 1 ? m_set : m_clear);
    }

    void FlipDataBit(int bit)
    {
        m_dataByte ^= 1 << bit;
        m_dataButton[bit]->setIcon((m_dataByte >> bit) & 1 ? m_set : m_clear);
        if (m_contData->isChecked())
            m_port.Out(Port(0), static_cast<std::uint8_t>(m_dataByte));
        m_value->setText(Hex(m_dataByte));
        RefreshLamps();
    }

    void FlipCtrlBit(int slot)
    {
        m_ctrlByte ^= 1 << kCtrlBits[slot];
        const bool on = ((m_ctrlByte >> kCtrlBits[slot]) & 1) == kCtrlOnValue[slot];
        m_ctrlButton[slot]->setIcon(on ? m_set : m_clear);
        if (m_contCtrl->isChecked())
            WriteCtrl();
    }

    // Hex digits only, upper case; two of them set the data byte.
    void ValueEdited(const QString& typed)
    {
        QString digits;
        for (QChar ch : typed.toUpper())
            if (ch.isDigit() || (ch >= QLatin1Char('A') && ch <= QLatin1Char('F')))
                digits += ch;
        if (digits != typed)
            m_value->setText(digits);
        if (digits.size() != 2)
            return;
        m_dataByte = digits.toInt(nullptr, 16);
        ShowDataFaces();
        if (m_contData->isChecked())
            WriteData();
    }

    void ContinuousChanged(int id, bool on)
    {
        if (on)
            id == 1032 ? WriteData() : WriteCtrl();
    }

    void WriteData()
    {
        m_port.Out(Port(0), static_cast<std::uint8_t>(m_dataByte));
        RefreshLamps();
    }

    void WriteCtrl()
    {
        m_port.Out(Port(2), static_cast<std::uint8_t>(m_ctrlByte));
        m_ctrlWritten = m_ctrlByte;
        RefreshLamps();
    }

    // A lamp's image is set only when its state differs from the one it shows.
    void ShowLamp(int id, bool lit)
    {
        bool& shown = m_lit[id - kFirstLamp];
        if (shown == lit)
            return;
        shown = lit;
        m_lamps[id - kFirstLamp]->setPixmap(lit ? m_lampOn : m_lampOff);
    }

    void RefreshLamps()
    {
        const int data = m_port.In(Port(0));
        for (int i = 0; i < 8; ++i)
            ShowLamp(1029 - i, (data >> i) & 1);
        const int status = m_port.In(Port(1));
        for (int k = 0; k < 5; ++k)
            ShowLamp(kStatusLampIds[k], (status >> (k + 3)) & 1);
        for (int s = 0; s < 5; ++s)
            ShowLamp(kCtrlLampIds[s], ((m_ctrlWritten >> kCtrlBits[s]) & 1) == kCtrlOnValue[s]);
    }

    io::SimulatedPort m_port;
    QPixmap m_lampOn, m_lampOff;
    QIcon m_set, m_clear;
    QLabel* m_lamps[kLampCount] = {};  // by control ID - kFirstLamp
    QPushButton* m_dataButton[8] = {};
    QPushButton* m_ctrlButton[5] = {};
    QLineEdit* m_value = nullptr;
    QCheckBox* m_contData = nullptr;
    QCheckBox* m_contCtrl = nullptr;
    QComboBox* m_baseList = nullptr;
    // What each lamp shows: every one starts with the lit image, as in the template.
    bool m_lit[kLampCount] = {true, true, true, true, true, true, true, true, true, true,
                              true, true, true, true, true, true, true, true, true, true};
    int m_base = 0x378;
    int m_dataByte = 0;
    int m_ctrlByte = 0x24;
    int m_ctrlWritten = 0x24;
    QTimer m_timer;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Panel panel;
    panel.show();
    // Where no window manager activates a new window (as in the benchmark's X server), the
    // panel asks for it itself, as Vellix does, so that the Data Value field has the focus and
    // its caret blinks in both.
    panel.activateWindow();
    return app.exec();
}
