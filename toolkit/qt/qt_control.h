// One control of a loaded form, over the Qt widget that shows it.
#pragma once

#include <QPointer>
#include <QWidget>

#include "toolkit/form.h"

namespace toolkit::qt {

class QtControl : public Control {
  public:
    QtControl(const ControlSpec& spec, QWidget* widget) : spec_(spec), widget_(widget) {}

    const ControlSpec& Spec() const override { return spec_; }
    QWidget* Widget() const { return widget_; }

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    AnsiText Text() const override;
    void SetText(const std::string& bytes) override;
    bool Visible() const override;
    void SetVisible(bool visible) override;

  private:
    const ControlSpec& spec_;
    QPointer<QWidget> widget_;
    // Read-only boxes keep the bytes they were given, since the user cannot change them.
    std::string readOnlyText_;
};

// Builds the widget for a control, as a child of the form's widget.
QWidget* CreateControlWidget(const ControlSpec& spec, const FormSpec& form, QWidget* parent);

}  // namespace toolkit::qt
