#include "toolkit/qt/qt_control.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "toolkit/form_rules.h"
#include "toolkit/qt/ansi_qstring.h"
#include "toolkit/qt/decorations.h"
#include "toolkit/qt/document_edit.h"
#include "toolkit/qt/fonts.h"
#include "toolkit/qt/pictures.h"

namespace toolkit::qt {
namespace {

QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QRect PixelRect(const ControlLayout& s) {
    return QRect(TwipsToPixels(s.left), TwipsToPixels(s.top), TwipsToPixels(s.width),
                 TwipsToPixels(s.height));
}

// Windows shows a lone CR or LF in a read-only box as nothing; the About text uses CR LF.
QString DisplayText(const std::string& bytes) {
    QString text = FromAnsi(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QWidget* CreateTextBox(const ControlLayout& s, QWidget* parent) {
    if (IsEditableMultiLine(s))
        return new DocumentEdit(parent);
    if (s.multiLine) {
        auto* box = new QPlainTextEdit(parent);
        box->setReadOnly(true);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setVerticalScrollBarPolicy(s.vScroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        return box;
    }
    auto* line = new QLineEdit(parent);
    line->setReadOnly(s.readOnly);
    return line;
}

}  // namespace

QWidget* CreateControlWidget(const ControlLayout& s, const FormLayout& form, QWidget* parent) {
    QWidget* w = nullptr;
    switch (s.kind) {
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(FromAnsi(s.caption), parent);
            // No default button: the form presses the focused button on Enter, and only that.
            button->setAutoDefault(false);
            button->setDefault(false);
            w = button;
            break;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(FromAnsi(s.caption), parent);
            label->setWordWrap(false);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            w = label;
            break;
        }
        case ControlKind::TextBox:
            w = CreateTextBox(s, parent);
            break;
        case ControlKind::PictureBox:
            w = new PictureBox(parent, LoadPicture(s.picture));
            break;
        case ControlKind::Line:
            w = new LineShape(parent, QPoint(TwipsToPixels(s.left), TwipsToPixels(s.top)),
                              QPoint(TwipsToPixels(s.width), TwipsToPixels(s.height)),
                              ToQColor(s.foreColor.value_or(kBlack)));
            break;
        case ControlKind::Shape:
            w = new FilledRectangle(parent, ToQColor(s.fillColor.value_or(kWhite)),
                                    ToQColor(s.borderColor.value_or(kBlack)));
            break;
    }
    w->setObjectName(QString::fromStdString(
        s.index >= 0 ? s.name + "(" + std::to_string(s.index) + ")" : s.name));
    if (s.kind != ControlKind::Line)
        w->setGeometry(PixelRect(s));
    w->setFont(ToQFont(s.font.value_or(form.font)));
    if (s.kind == ControlKind::TextBox) {
        if (auto* doc = qobject_cast<DocumentEdit*>(w))
            doc->SetDisplayFont(w->font());
    }
    QPalette palette = w->palette();
    if (s.backColor) {
        palette.setColor(QPalette::Button, ToQColor(*s.backColor));
        palette.setColor(QPalette::Base, ToQColor(*s.backColor));
    }
    if (s.foreColor && s.kind != ControlKind::Line) {
        palette.setColor(QPalette::WindowText, ToQColor(*s.foreColor));
        palette.setColor(QPalette::ButtonText, ToQColor(*s.foreColor));
        palette.setColor(QPalette::Text, ToQColor(*s.foreColor));
    }
    w->setPalette(palette);
    if (s.kind == ControlKind::Label && s.autoSize)
        w->adjustSize();
    w->setVisible(s.visible);
    return w;
}

std::string QtControl::Caption() const {
    if (auto* button = qobject_cast<QPushButton*>(widget_))
        return ToAnsi(button->text()).bytes;
    if (auto* label = qobject_cast<QLabel*>(widget_))
        return ToAnsi(label->text()).bytes;
    return {};
}

void QtControl::SetCaption(const std::string& caption) {
    if (auto* button = qobject_cast<QPushButton*>(widget_))
        button->setText(FromAnsi(caption));
    if (auto* label = qobject_cast<QLabel*>(widget_)) {
        label->setText(FromAnsi(caption));
        if (layout_.autoSize)
            label->adjustSize();
    }
}

bool QtControl::Enabled() const {
    return widget_ && widget_->isEnabled();
}

void QtControl::SetEnabled(bool enabled) {
    if (widget_)
        widget_->setEnabled(enabled);
}

AnsiText QtControl::Text() const {
    if (auto* doc = qobject_cast<DocumentEdit*>(widget_))
        return doc->AnsiContent();
    if (layout_.readOnly)
        return AnsiText{readOnlyText_, std::nullopt};
    if (auto* line = qobject_cast<QLineEdit*>(widget_))
        return ToAnsi(line->text());
    return {};
}

void QtControl::SetText(const std::string& bytes) {
    if (auto* doc = qobject_cast<DocumentEdit*>(widget_)) {
        doc->SetAnsiText(bytes);
        return;
    }
    readOnlyText_ = bytes;
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget_))
        box->setPlainText(DisplayText(bytes));
    if (auto* line = qobject_cast<QLineEdit*>(widget_)) {
        line->setText(FromAnsi(bytes));
        line->setCursorPosition(0);
    }
}

std::uint64_t QtControl::TextCapacity() const {
    if (qobject_cast<DocumentEdit*>(widget_))
        return DocumentEdit::kTextCapacity;
    return Control::TextCapacity();
}

std::uint64_t QtControl::TextSize(std::string_view bytes) const {
    if (qobject_cast<DocumentEdit*>(widget_))
        return DocumentEdit::TextSize(bytes);
    return Control::TextSize(bytes);
}

bool QtControl::Visible() const {
    return widget_ && !widget_->isHidden();
}

void QtControl::SetVisible(bool visible) {
    if (widget_)
        widget_->setVisible(visible);
}

}  // namespace toolkit::qt
