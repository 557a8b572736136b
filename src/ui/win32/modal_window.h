// A window that is shown modally over its owner, as another window's code
// sees it: the owner needs no more than this to open one.
#pragma once

#include <windows.h>

#include <memory>

namespace quandrel::win32 {

class ModalWindow {
 public:
  virtual ~ModalWindow() = default;
  virtual HWND Handle() const = 0;
  // Returns when the window is closed; the owner takes no input meanwhile.
  virtual void ShowModal() = 0;
};

// A modal window's view together with the logic that answers its events,
// made as one by the derived form's Create. The view tells its events to the
// logic through Attach.
template <typename ViewT, typename LogicT>
class ModalForm : public ModalWindow {
 public:
  ~ModalForm() override {
    if (view_) view_->Attach(nullptr);
  }
  HWND Handle() const override { return view_->Handle(); }
  void ShowModal() override { view_->ShowModal(); }
  ViewT& View() { return *view_; }
  LogicT& Logic() { return *logic_; }

 protected:
  ModalForm() = default;
  // The view goes first, so no control calls a logic that is gone.
  std::unique_ptr<LogicT> logic_;
  std::unique_ptr<ViewT> view_;
};

}  // namespace quandrel::win32
