// A form: its layout, and while loaded, the window and controls built from it.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <memory>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/qt/qt_control.h"

namespace toolkit::qt {

class QtForm;

// The window of a loaded form. A dialog, so that Enter presses the focused button; screen
// readers still learn that the main window is a frame.
class FormWindow : public QDialog {
    Q_OBJECT
  public:
    FormWindow(QtForm& form, const FormLayout& layout);

    bool IsDialog() const { return dialog_; }
    // Centres the window, frame included, once the window manager has framed it.
    void CentreWhenFramed() { centreWhenFramed_ = true; }

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  signals:
    void hidden();

  private:
    QtForm& form_;
    QColor back_;
    QPixmap picture_;
    bool dialog_;
    bool centreWhenFramed_ = false;
};

class QtForm : public Form {
  public:
    QtForm(const FormLayout& layout, FormEvents events);
    ~QtForm() override;

    const FormLayout& Layout() const override { return layout_; }
    void Load() override;
    bool IsLoaded() const override { return window_ != nullptr; }
    void Show() override;
    void ShowModal(Form& owner) override;
    void Hide() override;
    void Unload() override;
    std::vector<Control*> Controls() override;

    // The loaded window, or null; for the backend and for tests.
    FormWindow* Window() const { return window_; }
    bool IsModal() const { return modal_; }

  private:
    void ApplyTabOrderAndFocus();

    FormLayout layout_;
    FormEvents events_;
    QPointer<FormWindow> window_;
    std::vector<std::unique_ptr<QtControl>> controls_;
    bool modal_ = false;
};

}  // namespace toolkit::qt
