// CLptPanelDlg: the register panel, the program's one main window.
#pragma once

#include <vector>

#include "afx/afxwin.h"
#include "res/resource.h"

class CLptPanelDlg : public CDialog {
public:
    explicit CLptPanelDlg(CWnd* pParent = nullptr);
    ~CLptPanelDlg() override;

    enum { IDD = IDD_PANEL };

    // Dialog data, in declaration order.
    CComboBox m_cbBaseAddr;
    CButton m_btnCtrlTriState;
    CButton m_btnCtrlInput;
    CButton m_btnCtrlInit;
    CButton m_btnCtrlAuto;
    CButton m_btnCtrlStrobe;
    CStatic m_lampInit;
    CStatic m_lampInput;
    CStatic m_lampTriState;
    CStatic m_lampStrobe;
    CStatic m_lampSelect;
    CStatic m_lampPEnd;
    CStatic m_lampError;
    CStatic m_lampBusy;
    CStatic m_lampAuto;
    CStatic m_lampAck;
    CButton m_btnData7;
    CButton m_btnData6;
    CButton m_btnData5;
    CButton m_btnData4;
    CButton m_btnData3;
    CButton m_btnData2;
    CButton m_btnData1;
    CButton m_btnData0;
    CStatic m_lampData7;
    CStatic m_lampData6;
    CStatic m_lampData5;
    CStatic m_lampData4;
    CStatic m_lampData3;
    CStatic m_lampData2;
    CStatic m_lampData1;
    CStatic m_lampData0;
    int m_bContinuousData;
    CString m_strDataValue;
    int m_bContinuousCtrl;

    // Run-time state.
    int m_nBaseAddr;
    CBitmap m_bmpButtonClear;
    CBitmap m_bmpButtonSet;
    CBitmap m_bmpLampOff;
    CBitmap m_bmpLampOn;
    int m_nSetMask[8];
    int m_nClearMask[8];
    HICON m_hIcon;
    int m_nDataBitState[8];
    CButton* m_pDataButton[8];
    int m_nDataByte;
    CStatic* m_pDataLamp[8];
    CStatic* m_pStatusLamp[5];
    int m_nCtrlBitState[6];
    CButton* m_pCtrlButton[6];
    CStatic* m_pCtrlLamp[6];
    int m_nCtrlByte;
    int m_nCtrlWritten;
    // The candidate table, one entry per port the start-up found: the four legacy bases and any
    // other the kernel reports.
    std::vector<CString> m_strPortLabel;
    std::vector<int> m_nPortAddr;
    int m_nPortCount;
    CString m_strBaseAddr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void LoadPorts();
    BOOL Answered(int nAddr) const;  // nAddr is one of the listed, answering ports
    void ShowPortInCaption();
    void InitDataPanel();
    void InitStatusPanel();
    void InitCtrlPanel();
    void ShowDataByte();
    void RefreshLamps();

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTimer(UINT nIDEvent);
    void OnContinuousData();
    void OnSetData();
    void OnChangeDataValue();
    void OnContinuousCtrl();
    void OnSetCtrl();
    void OnSelChangeBaseAddr();
    void OnCtrlBit(UINT nID);
    void OnDataBit(UINT nID);

    DECLARE_MESSAGE_MAP()
};
