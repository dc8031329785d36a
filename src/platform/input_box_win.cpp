#include "platform/input_box_win.h"

#include <windows.h>

#include <vector>

namespace velkor {
namespace {

constexpr int kPromptId = 100;
constexpr int kEditId = 101;

// Builds an in-memory dialog template (DLGTEMPLATE and its items, WORD aligned).
class TemplateWriter {
 public:
  void Word(WORD w) { data_.push_back(w); }
  void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
  void Text(const std::wstring& s) {
    for (wchar_t c : s) Word(static_cast<WORD>(c));
    Word(0);
  }
  void AlignDword() {
    if (data_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls, const std::wstring& text) {
    AlignDword();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(x), Word(y), Word(cx), Word(cy), Word(id);
    Word(0xFFFF), Word(cls);
    Text(text);
    Word(0);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

 private:
  std::vector<WORD> data_;
};

struct State {
  const std::wstring* prompt;
  std::wstring* text;
};

INT_PTR CALLBACK InputProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<State*>(lp);
      SetWindowLongPtrW(dlg, DWLP_USER, lp);
      SetDlgItemTextW(dlg, kPromptId, state->prompt->c_str());
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(dlg, DWLP_USER));
        const int n = GetWindowTextLengthW(GetDlgItem(dlg, kEditId));
        std::wstring typed(n + 1, L'\0');
        GetDlgItemTextW(dlg, kEditId, typed.data(), n + 1);
        typed.resize(n);
        *state->text = typed;
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (LOWORD(wp) == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

bool ShowInputBox(const std::wstring& title, const std::wstring& prompt, std::wstring& text) {
  TemplateWriter t;
  t.Dword(DS_MODALFRAME | DS_CENTER | DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);
  t.Word(4);  // items
  t.Word(0), t.Word(0), t.Word(200), t.Word(66);
  t.Word(0);  // no menu
  t.Word(0);  // default class
  t.Text(title);
  t.Word(9);
  t.Text(L"MS Shell Dlg");
  t.Item(SS_LEFT, 7, 7, 186, 10, kPromptId, 0x0082, L"");
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 20, 186, 14, kEditId, 0x0081, L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 89, 43, 50, 15, IDOK, 0x0080, L"确定");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 143, 43, 50, 15, IDCANCEL, 0x0080, L"取消");
  State state{&prompt, &text};
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), nullptr, InputProc,
                                 reinterpret_cast<LPARAM>(&state)) == IDOK;
}

}  // namespace velkor
