// One control of a loaded form, over the Qt widget that shows it.
#pragma once

#include <QPointer>
#include <QWidget>

#include "toolkit/form.h"

namespace toolkit::qt {

class QtControl : public Control {
  public:
    QtControl(const ControlLayout& layout, QWidget* widget) : layout_(layout), widget_(widget) {}

    const ControlLayout& Layout() const override { return layout_; }
    QWidget* Widget() const { return widget_; }

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    AnsiText Text() const override;
    void SetText(const std::string& bytes) override;
    std::uint64_t TextCapacity() const override;
    std::uint64_t TextSize(std::string_view bytes) const override;
    bool Visible() const override;
    void SetVisible(bool visible) override;

  private:
    const ControlLayout& layout_;
    QPointer<QWidget> widget_;
    // Read-only boxes keep the bytes they were given, since the user cannot change them.
    std::string readOnlyText_;
};

// Builds the widget for a control, as a child of the form's widget.
QWidget* CreateControlWidget(const ControlLayout& layout, const FormLayout& form, QWidget* parent);

}  // namespace toolkit::qt
