#include "setup/app/SetupDlg.h"

#include "framework/Messages.h"
#include "setup/res/resource.h"

#include <new>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// The header font: 10 points of the bold Arial face.
constexpr int kTitlePointSize = 100;
const char* const kTitleFace = "Arial Fett";

} // namespace

CSetupDlg::CSetupDlg(CWnd* pParent, RunLog* log, Answering answering)
    : CDialog(IDD_SETUP_DIALOG, pParent), m_bUnattended(answering.unattended),
      m_logged(*this, log, answering), m_run(m_logged, SystemActions(), SystemPlace()) {
    // A failed load leaves a null icon, which simply shows no icon.
    m_hIconSmall = LoadIconImage(IDI_SETUP, 16);
    m_hIconBig = LoadIconImage(IDI_SETUP, 32);
    m_pWhiteBrush = new (std::nothrow) CBrush;
    if (m_pWhiteBrush)
        m_pWhiteBrush->CreateSolidBrush(kWhite);
}

CSetupDlg::~CSetupDlg() {
    // Normally gone with WM_DESTROY; this covers a dialog that never came up.
    delete m_pWhiteBrush;
}

void CSetupDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TOP_LINE, m_ctlTopLine);
    DDX_Control(pDX, IDC_BOTTOM_LINE, m_ctlBottomLine);
    DDX_Control(pDX, IDC_PROGRESS, m_ctlProgress);
    DDX_Control(pDX, IDOK, m_btnInstall);
}

// The template places the lines at x = 1, 278 units wide; they must span the whole client
// width, whatever the dialog font makes of those units.
void CSetupDlg::StretchSeparator(CStatic& line) {
    RECT client;
    GetClientRect(&client);
    RECT rect;
    line.GetWindowRect(&rect);
    ScreenToClient(&rect);
    line.MoveWindow(0, rect.top, client.right - client.left, rect.bottom - rect.top, TRUE);
}

BOOL CSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    SetIcon(m_hIconBig, TRUE);
    SetIcon(m_hIconSmall, FALSE);

    StretchSeparator(m_ctlTopLine);
    StretchSeparator(m_ctlBottomLine);

    m_fontTitle.CreatePointFont(kTitlePointSize, kTitleFace);
    GetDlgItem(IDC_HEADER_TEXT).SetFont(&m_fontTitle, TRUE);

    m_strSetupInf = m_run.Context().setupInf;
    m_run.Start();
    m_strProgramDir = m_run.Context().programDir;
    m_bProgramDirFound = m_run.Context().programDirFound;
    // Posted, so that the dialog is on the screen before the run goes on (or, after a refusal at
    // the start, before it closes).
    if (m_bUnattended)
        PostMessage(WM_COMMAND, m_run.Stage() == SetupStage::Ready ? IDOK : IDCANCEL, 0);
    return TRUE;
}

void CSetupDlg::OnOK() {
    if (m_run.Stage() != SetupStage::Ready)
        return;
    // A modal dialog appears once its message queue has run empty, which the command posted by a
    // passive start does not let happen: it is shown here, so that the run can be watched.
    if (m_bUnattended && !IsWindowVisible()) {
        ShowWindow(SW_SHOW);
        UpdateWindow();
    }
    m_run.Install();
    if (m_bUnattended) {
        EndDialog(IDOK);
        return;
    }
    // A click on "Abbrechen" or a key pressed while the installation ran must not close the
    // dialog before the person has read how it ended. The Tab that moves the focus and the default
    // button away from the hidden install button is the setup's own input: it is posted after the
    // discard, which would remove it as well.
    DiscardQueuedInput();
    PostMessage(WM_KEYDOWN, VK_TAB, 0);
}

void CSetupDlg::OnPaint() {
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    if (IsIconic()) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
        dc.DrawIcon(x, y, m_hIconSmall);
        return;
    }
    // The white header band reaches down to the second pixel row above the top line; the row
    // directly above the line keeps the dialog's face colour.
    RECT line;
    m_ctlTopLine.GetWindowRect(&line);
    ScreenToClient(&line);
    RECT band = {0, 0, client.right - client.left, line.top - 1};
    dc.FillSolidRect(band, kWhite);
    DefaultPaint(&dc);
}

HBRUSH CSetupDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    HBRUSH brush = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC && pWnd->GetDlgCtrlID() == IDC_HEADER_TEXT && m_pWhiteBrush) {
        pDC->SetBkColor(kWhite);
        return m_pWhiteBrush->GetSafeHandle();
    }
    return brush;
}

void CSetupDlg::OnDestroy() {
    CDialog::OnDestroy();
    delete m_pWhiteBrush;
    m_pWhiteBrush = nullptr;
}
