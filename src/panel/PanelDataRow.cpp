// The data row: eight bit buttons, the two-digit hex field, Continous and Set Data.
#include "panel/LptPanelDlg.h"
#include "panel/hex_text.h"
#include "port/portio.h"

namespace {

bool IsHexDigit(char ch)
{
    auto c = static_cast<unsigned char>(ch);
    return (c >= 0x30 && c <= 0x39) || (c >= 0x41 && c <= 0x46);
}

int HexDigitValue(char ch)
{
    return ch <= '9' ? ch - '0' : ch - 'A' + 10;
}

}  // namespace

void CLptPanelDlg::OnDataBit(UINT nID)
{
    int i = static_cast<int>(nID) - IDC_DATA_BIT0;
    m_nDataBitState[i] = m_nDataBitState[i] == 0 ? 1 : 0;
    if (m_nDataBitState[i] == 1) {
        m_pDataButton[i]->SetBitmap(m_bmpButtonSet);
        m_nDataByte |= m_nSetMask[i];
    } else {
        m_pDataButton[i]->SetBitmap(m_bmpButtonClear);
        m_nDataByte &= m_nClearMask[i];
    }
    if (m_bContinuousData) {
        WritePortByte(static_cast<std::uint16_t>(m_nBaseAddr), m_nDataByte & 0xFF);
    }
    m_strDataValue = HexText(m_nDataByte);
    m_strDataValue.MakeUpper();
    RefreshLamps();
    UpdateData(FALSE);
}

void CLptPanelDlg::OnSetData()
{
    // One digit showing is the byte the user means: the port must get what the field shows, so
    // "7" writes 0x07 and shows as "07". Two digits were taken as they were typed.
    if (m_strDataValue.GetLength() == 1 && IsHexDigit(m_strDataValue[0])) {
        m_nDataByte = HexDigitValue(m_strDataValue[0]);
        ShowDataByte();
        const char szTwoDigits[3] = {'0', m_strDataValue[0], '\0'};
        m_strDataValue = szTwoDigits;
    }
    for (int i = 0; i < 8; i++) {
        if (m_nDataBitState[i]) {
            m_pDataButton[i]->SetBitmap(m_bmpButtonSet);
            m_nDataByte |= m_nSetMask[i];
        } else {
            m_pDataButton[i]->SetBitmap(m_bmpButtonClear);
            m_nDataByte &= m_nClearMask[i];
        }
    }
    WritePortByte(static_cast<std::uint16_t>(m_nBaseAddr), m_nDataByte & 0xFF);
    RefreshLamps();
    UpdateData(FALSE);
}

void CLptPanelDlg::OnContinuousData()
{
    // The box is automatic and has already flipped itself; the member follows it.
    m_bContinuousData = m_bContinuousData == 0 ? 1 : 0;
    if (m_bContinuousData == 1) {
        OnSetData();
    }
}

void CLptPanelDlg::OnChangeDataValue()
{
    UpdateData(TRUE);
    int nLength = m_strDataValue.GetLength();
    m_strDataValue.MakeUpper();

    // A byte comes only from two valid digits; an invalid one cuts the text where it stands.
    char buffer[4] = {0, 0, 0, 0};
    if (nLength >= 1) {
        buffer[0] = m_strDataValue[0];
        if (!IsHexDigit(buffer[0])) {
            m_strDataValue.SetAt(0, '\0');
        } else if (nLength == 2) {
            buffer[1] = m_strDataValue[1];
            if (IsHexDigit(buffer[1])) {
                m_nDataByte = HexDigitValue(buffer[0]) * 16 + HexDigitValue(buffer[1]);
                ShowDataByte();
                if (m_bContinuousData) {
                    WritePortByte(static_cast<std::uint16_t>(m_nBaseAddr), m_nDataByte & 0xFF);
                }
                RefreshLamps();
            } else {
                m_strDataValue.SetAt(1, '\0');
            }
        }
    }
    UpdateData(FALSE);
}
