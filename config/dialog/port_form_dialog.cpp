#include "dialog/port_form_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "dialog/address_box.h"
#include "dialog/message_box_sink.h"
#include "dialog/port_form_ids.h"
#include "model/form_lists.h"
#include "model/port_form.h"
#include "model/port_types.h"

namespace lathwell {
namespace {

// Controls and the port fields they edit.
struct TextControl {
  int id;
  std::string PortFields::*field;
};
constexpr TextControl kEditedTexts[] = {
    {IDC_DESCRIPTION, &PortFields::description},
    {IDC_ECR_PROT, &PortFields::ecrProt},
    {IDC_NET_DEF, &PortFields::netDef},
    {IDC_ECR_IP, &PortFields::ecrIp},
    {IDC_ECR_PORT, &PortFields::ecrPortNumber},
    {IDC_LOG_FILE, &PortFields::logFile},
    {IDC_SPOOLER_COMMAND_FILE, &PortFields::spoolerCommandFile},
};
constexpr TextControl kChoiceLists[] = {
    {IDC_PORT_TYPE, &PortFields::chosenPortType},
    {IDC_USED_PORT, &PortFields::chosenUsedPort},
    {IDC_SPEED, &PortFields::speed},
};
constexpr TextControl kShownTexts[] = {
    {IDC_PORT_TYPE_TEXT, &PortFields::portType},
    {IDC_USED_PORT_TEXT, &PortFields::usedPort},
};
struct CheckControl {
  int id;
  bool PortFields::*field;
};
constexpr CheckControl kCheckBoxes[] = {
    {IDC_ON_LINE, &PortFields::onLine},       {IDC_DSR_CHECK, &PortFields::dsrCheck},
    {IDC_CTS_CHECK, &PortFields::ctsCheck},   {IDC_EXT_DISPLAY_ECHO, &PortFields::extDisplayEcho},
    {IDC_ENABLE_LOG, &PortFields::enableLog}, {IDC_AUTO_RUN_ON_PORT, &PortFields::autoRunOnPort},
};

// Usable outside the edit state only.
constexpr int kPortListControls[] = {IDC_LOGICAL_PORT_LABEL, IDC_LOGICAL_PORTS, IDC_ADD, IDC_REMOVE,
                                     IDC_MODIFY};
// Usable in the edit state only.
constexpr int kEditControls[] = {IDC_DESCRIPTION_LABEL,
                                 IDC_DESCRIPTION,
                                 IDC_PORT_TYPE_LABEL,
                                 IDC_PORT_TYPE_TEXT,
                                 IDC_PORT_TYPE,
                                 IDC_ON_LINE,
                                 IDC_DSR_CHECK,
                                 IDC_CTS_CHECK,
                                 IDC_EXT_DISPLAY_ECHO,
                                 IDC_MEDIA_GROUP,
                                 IDC_ECR_PROT_LABEL,
                                 IDC_ECR_PROT,
                                 IDC_SPEED_LABEL,
                                 IDC_SPEED,
                                 IDC_USED_PORT_LABEL,
                                 IDC_USED_PORT_TEXT,
                                 IDC_USED_PORT,
                                 IDC_NET_DEF_LABEL,
                                 IDC_MODEM_CONF_LABEL,
                                 IDC_NET_DEF,
                                 IDC_ECR_IP_LABEL,
                                 IDC_ECR_IP,
                                 IDC_ECR_PORT_LABEL,
                                 IDC_ECR_PORT,
                                 IDC_AUTO_RUN_ON_PORT,
                                 IDC_SPOOLER_COMMAND_FILE_LABEL,
                                 IDC_SPOOLER_COMMAND_FILE,
                                 IDC_OPEN_SPOOLER_COMMAND_FILE,
                                 IDC_ENABLE_LOG,
                                 IDC_LOG_FILE_LABEL,
                                 IDC_LOG_FILE,
                                 IDC_OPEN_LOG_FILE};
// The controls of each media field besides the used port's text and list.
constexpr int kProtocolControls[] = {IDC_ECR_PROT_LABEL, IDC_ECR_PROT};
constexpr int kSpeedControls[] = {IDC_SPEED_LABEL, IDC_SPEED};
constexpr int kNetworkControls[] = {IDC_ECR_IP_LABEL, IDC_ECR_IP, IDC_ECR_PORT_LABEL, IDC_ECR_PORT};
constexpr int kLineChecks[] = {IDC_DSR_CHECK, IDC_CTS_CHECK};
constexpr int kLineOptions[] = {IDC_ON_LINE, IDC_EXT_DISPLAY_ECHO};
// Shown while the spooler mode is on.
constexpr int kSpoolerControls[] = {IDC_AUTO_RUN_ON_PORT, IDC_SPOOLER_COMMAND_FILE_LABEL,
                                    IDC_SPOOLER_COMMAND_FILE, IDC_OPEN_SPOOLER_COMMAND_FILE};
// Shown while the single-port mode is on.
constexpr int kAutoRunGroup[] = {IDC_AUTO_RUN_GROUP,
                                 IDC_AUTO_RUN_PORT_LABEL,
                                 IDC_AUTO_RUN_PORT,
                                 IDC_AUTO_RUN_COMMAND_FILE_LABEL,
                                 IDC_AUTO_RUN_COMMAND_FILE,
                                 IDC_OPEN_AUTO_RUN_COMMAND_FILE,
                                 IDC_AUTO_RUN_ERRORS_FILE_LABEL,
                                 IDC_AUTO_RUN_ERRORS_FILE,
                                 IDC_OPEN_AUTO_RUN_ERRORS_FILE,
                                 IDC_UPDATE_AUTO_RUN};

constexpr COLORREF kProductLabelColour = RGB(255, 0, 0);
constexpr const char* kFirstBrowseFolder = "c:\\";
constexpr const wchar_t* kSpoolerHint = L"Attiva Spooler Autorun su pi\u00f9 porte logiche";

std::string TextOf(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(length + 1, '\0');
  text.resize(GetWindowTextA(window, text.data(), length + 1));
  return text;
}

class PortFormDialog {
 public:
  PortFormDialog(SettingsRegistry& registry, ServiceRunner& services)
      : form_(registry, messages_, services) {}

  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<PortFormDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return self != nullptr ? self->Handle(dialog, message, wParam, lParam) : FALSE;
  }

 private:
  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_INITDIALOG:
        dialog_ = dialog;
        messages_.SetOwner(dialog);
        FillLists();
        addressBox_.Create(dialog);
        AddHint(IDC_AUTO_RUN_SPOOLER, kSpoolerHint);
        form_.Start();
        Show();
        return TRUE;
      case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      case WM_DRAWITEM:
        return AddressBox::Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      case WM_CTLCOLORSTATIC:
        return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      default:
        return FALSE;
    }
  }

  void Command(int id, int notification) {
    // Texts written by Show notify too; only the user's edits are news to the form.
    if (showing_) return;
    if (const int position = AddressBox::PositionOf(Item(id)); position >= 0) {
      Act([&] { form_.ToggleAddress(static_cast<std::size_t>(position)); });
      return;
    }
    switch (id) {
      case IDC_LOGICAL_PORTS:
        if (notification == CBN_EDITCHANGE) Act([&] { form_.ChangePortText(TextOf(Item(id))); });
        if (notification == CBN_SELCHANGE) Act([&] { form_.ChangePortText(ChosenPort()); });
        break;
      case IDC_PORT_TYPE:
        if (notification == CBN_SELCHANGE) Act([&] { form_.ChangePortType(); });
        break;
      case IDC_ADD:
        Act([&] { form_.Add(); });
        break;
      case IDC_MODIFY:
        Act([&] { form_.Modify(); });
        break;
      case IDC_REMOVE:
        Act([&] { form_.Remove(); });
        break;
      case IDC_OK_EDIT:
        Act([&] { form_.Ok(); });
        break;
      case IDC_CANCEL_EDIT:
        Act([&] { form_.Cancel(); });
        break;
      case IDC_NET_DEF:
        if (notification == EN_CHANGE && form_.State() == FormState::Edit) {
          Act([&] { form_.ChangeNetDef(TextOf(Item(id))); });
        }
        break;
      case IDC_AUTO_RUN:
        Act([&] { form_.SetSinglePortAutoRun(!form_.AutoRun().singlePort); });
        break;
      case IDC_AUTO_RUN_SPOOLER:
        Act([&] { form_.SetSpoolerAutoRun(!form_.AutoRun().spooler); });
        break;
      case IDC_AUTO_RUN_PORT:
      case IDC_AUTO_RUN_COMMAND_FILE:
      case IDC_AUTO_RUN_ERRORS_FILE:
        if (notification == EN_CHANGE) {
          Act([&] {
            form_.ChangeSinglePortTexts(TextOf(Item(IDC_AUTO_RUN_PORT)), TextOf(Item(IDC_AUTO_RUN_COMMAND_FILE)),
                                        TextOf(Item(IDC_AUTO_RUN_ERRORS_FILE)));
          });
        }
        break;
      case IDC_UPDATE_AUTO_RUN:
        Act([&] { form_.UpdateSinglePort(); });
        break;
      case IDC_OPEN_SPOOLER_COMMAND_FILE:
      case IDC_OPEN_LOG_FILE:
        ChooseFileFor(id == IDC_OPEN_LOG_FILE ? IDC_LOG_FILE : IDC_SPOOLER_COMMAND_FILE);
        break;
      case IDC_OPEN_AUTO_RUN_COMMAND_FILE:
      case IDC_OPEN_AUTO_RUN_ERRORS_FILE:
        ChooseFileFor(id == IDC_OPEN_AUTO_RUN_COMMAND_FILE ? IDC_AUTO_RUN_COMMAND_FILE : IDC_AUTO_RUN_ERRORS_FILE);
        break;
      case IDC_CLOSE:
      case IDCANCEL:
        EndDialog(dialog_, 0);
        break;
      default:
        break;
    }
  }

  // Hands what the user edited to the form, runs the action, shows the result.
  template <typename Action>
  void Act(Action action) {
    if (form_.State() == FormState::Edit) Take();
    action();
    Show();
  }

  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  void FillLists() {
    for (const PortTypeRow& row : kPortTypes) AddChoice(IDC_PORT_TYPE, row.name);
    for (int n = 1; n <= kSerialPortCount; ++n) AddChoice(IDC_USED_PORT, "COM" + std::to_string(n));
    for (const char* speed : kSpeeds) AddChoice(IDC_SPEED, speed);
  }

  void AddChoice(int id, const std::string& text) {
    SendMessageA(Item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  std::string ChosenPort() const {
    const LRESULT index = SendMessageA(Item(IDC_LOGICAL_PORTS), CB_GETCURSEL, 0, 0);
    return index >= 0 && static_cast<std::size_t>(index) < shownPortList_.size()
               ? shownPortList_[index]
               : TextOf(Item(IDC_LOGICAL_PORTS));
  }

  void Take() {
    PortFields& fields = form_.Fields();
    for (const TextControl& control : kEditedTexts) fields.*control.field = TextOf(Item(control.id));
    for (const TextControl& control : kChoiceLists) fields.*control.field = TextOf(Item(control.id));
    for (const CheckControl& control : kCheckBoxes) {
      fields.*control.field = IsDlgButtonChecked(dialog_, control.id) == BST_CHECKED;
    }
  }

  void Show() {
    showing_ = true;
    const PortFields& fields = form_.Fields();
    ShowPortList();
    for (const TextControl& control : kEditedTexts) SetText(control.id, fields.*control.field);
    for (const TextControl& control : kShownTexts) SetText(control.id, fields.*control.field);
    for (const TextControl& control : kChoiceLists) Choose(control.id, fields.*control.field);
    for (const CheckControl& control : kCheckBoxes) Check(control.id, fields.*control.field);
    SetText(IDC_MEDIA_GROUP, form_.MediaCaption());
    ShowAutoRun();
    ShowState();
    showing_ = false;
  }

  void ShowPortList() {
    HWND list = Item(IDC_LOGICAL_PORTS);
    if (shownPortList_ != form_.PortList()) {
      shownPortList_ = form_.PortList();
      SendMessageA(list, CB_RESETCONTENT, 0, 0);
      for (const std::string& port : shownPortList_) AddChoice(IDC_LOGICAL_PORTS, port);
    }
    const std::string& text = form_.PortText();
    if (TextOf(list) == text) return;
    SetWindowTextA(list, text.c_str());
    // Typing goes on after the normalised number.
    const auto end = static_cast<WORD>(text.size());
    SendMessageA(list, CB_SETEDITSEL, 0, MAKELPARAM(end, end));
  }

  void ShowAutoRun() {
    const AutoRunFields& autoRun = form_.AutoRun();
    Check(IDC_AUTO_RUN, autoRun.singlePort);
    Check(IDC_AUTO_RUN_SPOOLER, autoRun.spooler);
    SetText(IDC_AUTO_RUN_PORT, autoRun.port);
    SetText(IDC_AUTO_RUN_COMMAND_FILE, autoRun.commandFile);
    SetText(IDC_AUTO_RUN_ERRORS_FILE, autoRun.errorsFile);
    ShowAll(kAutoRunGroup, autoRun.singlePort);
    EnableWindow(Item(IDC_UPDATE_AUTO_RUN), autoRun.updateEnabled);
    ShowAll(kSpoolerControls, autoRun.spooler);
  }

  void ShowState() {
    const bool editing = form_.State() == FormState::Edit;
    for (int id : kPortListControls) EnableWindow(Item(id), !editing);
    for (int id : kEditControls) EnableWindow(Item(id), editing);
    ShowMediaLayout(editing);
    ShowOne(IDC_PORT_TYPE_TEXT, !editing);
    ShowOne(IDC_PORT_TYPE, editing);
    ShowOne(IDC_HELP_BUTTON, !editing);
    ShowOne(IDC_CLOSE, !editing);
    ShowOne(IDC_CANCEL_EDIT, editing);
    ShowOne(IDC_OK_EDIT, editing);
  }

  void ShowMediaLayout(bool editing) {
    const MediaLayout& layout = form_.Layout();
    ShowOne(IDC_USED_PORT_LABEL, layout.usedPort);
    ShowOne(IDC_USED_PORT_TEXT, layout.usedPort && !editing);
    ShowOne(IDC_USED_PORT, layout.usedPort && editing);
    ShowAll(kProtocolControls, layout.protocol);
    ShowAll(kSpeedControls, layout.speed);
    ShowOne(IDC_NET_DEF_LABEL, layout.netDefinition);
    ShowOne(IDC_MODEM_CONF_LABEL, layout.modemString);
    ShowOne(IDC_NET_DEF, layout.netDefinition || layout.modemString);
    ShowAll(kNetworkControls, layout.network);
    ShowAll(kLineChecks, layout.lineChecks);
    ShowAll(kLineOptions, layout.lineOptions);
    addressBox_.Show(form_.Fields().netDef, form_.AddressBoxShown(), form_.AddressBoxEnabled());
  }

  template <std::size_t N>
  void ShowAll(const int (&ids)[N], bool shown) {
    for (int id : ids) ShowOne(id, shown);
  }
  void ShowOne(int id, bool shown) { ShowWindow(Item(id), shown ? SW_SHOWNA : SW_HIDE); }

  // Keeps the caret where it was, so typing into a field the form rewrites goes on in place.
  void SetText(int id, const std::string& text) {
    if (TextOf(Item(id)) == text) return;
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(Item(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    SetWindowTextA(Item(id), text.c_str());
    SendMessageA(Item(id), EM_SETSEL, start, end);
  }

  void AddHint(int id, const wchar_t* hint) {
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr, nullptr, nullptr);
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(Item(id));
    tool.lpszText = const_cast<wchar_t*>(hint);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  void Choose(int id, const std::string& text) {
    const LRESULT index = text.empty() ? CB_ERR
                                       : SendMessageA(Item(id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                      reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  void Check(int id, bool on) { CheckDlgButton(dialog_, id, on ? BST_CHECKED : BST_UNCHECKED); }

  // The file picker starts in c:\ and leaves the current directory as it was.
  void ChooseFileFor(int editId) {
    char path[MAX_PATH] = {};
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog_;
    request.lpstrFile = path;
    request.nMaxFile = sizeof path;
    request.lpstrInitialDir = kFirstBrowseFolder;
    request.Flags = OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (GetOpenFileNameA(&request)) SetText(editId, path);
  }

  INT_PTR ColourStatic(HDC context, HWND control) const {
    const int id = GetDlgCtrlID(control);
    if (id != IDC_PRODUCT_NAME && id != IDC_PRODUCT_COPYRIGHT) return FALSE;
    SetTextColor(context, kProductLabelColour);
    SetBkColor(context, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
  }

  MessageBoxSink messages_;
  PortForm form_;
  AddressBox addressBox_;
  HWND dialog_ = nullptr;
  bool showing_ = false;
  std::vector<std::string> shownPortList_;
};

}  // namespace

void RunPortFormDialog(HINSTANCE instance, SettingsRegistry& registry, ServiceRunner& services) {
  PortFormDialog dialog(registry, services);
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LATHWELL), nullptr, &PortFormDialog::Procedure,
                  reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace lathwell
