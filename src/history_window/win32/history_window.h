// The Win32 view of the history window: a fixed window with a caption and
// no title-bar buttons, shown modally over the main window, with the list
// of earlier states and the restore and close buttons.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history_window/history_view.h"
#include "platform/platform.h"
#include "ui/win32/control_table.h"
#include "ui/win32/dpi_fonts.h"
#include "ui/win32/modal_window.h"
#include "ui/win32/window_base.h"

namespace quandrel {
class HistoryWindowLogic;
}

namespace quandrel::win32 {

class HistoryWindow : public HistoryView, public ModalWindow, private WindowBase {
 public:
  // Makes the wait window of a restore, owned by the given window.
  using WaitFactory = std::function<std::unique_ptr<WaitWindow>(HWND owner)>;

  // Creates the window with its controls, hidden, owned by `owner` and
  // centred on the screen. Null when it can't be created.
  static std::unique_ptr<HistoryWindow> Create(HINSTANCE instance, HWND owner, WaitFactory waitFactory = nullptr);
  ~HistoryWindow() override;
  HistoryWindow(const HistoryWindow&) = delete;
  HistoryWindow& operator=(const HistoryWindow&) = delete;

  void Attach(HistoryViewEvents* events) { events_ = events; }

  // Shows the window modally with the focus on the list: the owner takes no
  // input until it is closed (the close button, Esc, Alt+F4 or Close()).
  void ShowModal() override;
  void Close();

  HWND Handle() const override { return hwnd_; }
  HWND ControlHandle(HistoryControl c) const { return Ctl(c); }
  static int ControlId(HistoryControl c) { return kFirstId + static_cast<int>(c); }
  // The text of one cell of the list, for inspection.
  std::string CellText(int row, HistoryColumn column) const;
  int RowCount() const;

  // HistoryView
  void ShowRows(const std::vector<HistoryRow>& rows) override;
  void ChooseRow(std::optional<int> row) override;
  void SetEnabled(HistoryControl c, bool enabled) override;
  std::unique_ptr<WaitWindow> OpenWaitWindow() override;
  void CloseWindow() override { Close(); }

 private:
  static constexpr int kFirstId = 100;
  static constexpr int kCount = static_cast<int>(HistoryControl::Count);
  // Posted to itself after the list's choice changed.
  static constexpr UINT kChoiceChanged = WM_APP + 1;
  HWND Ctl(HistoryControl c) const { return table_.Handle(static_cast<int>(c)); }

  HistoryWindow();
  void MakeColumns();
  std::optional<int> SelectedRow() const;
  void OnNotify(const NMHDR& header);
  // Tells the logic the line the list shows chosen, when that changed.
  void ReportChoice();
  LRESULT ControlColour(UINT msg, HDC dc, HWND control) override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDestroyed() override;

  Dpi dpi_;
  HWND tooltip_ = nullptr;
  ControlTable table_;
  WaitFactory waitFactory_;

  HistoryViewEvents* events_ = nullptr;
  bool quiet_ = false;  // the view itself changes the list: no handler runs
  std::optional<int> reported_;  // the line last reported as chosen
  bool choicePending_ = false;   // kChoiceChanged is on its way
};

// A history window together with its logic; the list is filled when Create
// returns.
class HistoryForm : public ModalForm<HistoryWindow, HistoryWindowLogic> {
 public:
  static std::unique_ptr<HistoryForm> Create(HINSTANCE instance, HWND owner, Platform& platform, std::string target,
                                             std::string settingsPath, int historyCount,
                                             HistoryWindow::WaitFactory waitFactory);
  ~HistoryForm() override;  // defined where the logic's type is complete

 private:
  HistoryForm() = default;
};

}  // namespace quandrel::win32
