#include "toolkit/qt/qt_form.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "toolkit/form_rules.h"
#include "toolkit/handler_failures.h"
#include "toolkit/qt/ansi_qstring.h"
#include "toolkit/qt/fonts.h"
#include "toolkit/qt/frame_hints.h"
#include "toolkit/qt/pictures.h"

namespace toolkit::qt {
namespace {

// Screen readers see a form's window as what it is: a frame, or a dialog.
QAccessibleInterface* FormAccessibleFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(FormWindow::staticMetaObject.className()))
        return nullptr;
    auto* window = static_cast<FormWindow*>(object);
    return new QAccessibleWidget(window,
                                 window->IsDialog() ? QAccessible::Dialog : QAccessible::Window);
}

// The frame the window manager put around the last framed window: the best guess for the
// next window until it has a frame of its own.
QMargins& LastFrame() {
    static QMargins frame;
    return frame;
}

QMargins FrameOf(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

void InstallFormAccessibility() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(FormAccessibleFactory);
        installed = true;
    }
}

// Moves a window so that its frame, or the frame it will likely get, is centred on its
// screen's free area.
void CentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QMargins frame = FrameOf(window).isNull() ? LastFrame() : FrameOf(window);
    const QRect area = screen->availableGeometry();
    const QSize outer = window.size().grownBy(frame);
    // A window's position is that of its frame.
    window.move(area.x() + (area.width() - outer.width()) / 2,
                area.y() + (area.height() - outer.height()) / 2);
}

}  // namespace

FormWindow::FormWindow(QtForm& form, const FormLayout& layout)
    : QDialog(nullptr),
      form_(form),
      back_(layout.backColor.r, layout.backColor.g, layout.backColor.b),
      picture_(LoadPicture(layout.picture)),
      dialog_(layout.border == FormBorder::FixedDialog) {
    InstallFormAccessibility();
    setObjectName(QString::fromStdString(layout.name));
    setWindowTitle(FromAnsi(layout.caption));
    // Set even when empty: a window without an icon of its own would show its owner's.
    setWindowIcon(LoadIcon(layout.icon));
    setFixedSize(TwipsToPixels(layout.clientWidth), TwipsToPixels(layout.clientHeight));
    setFont(ToQFont(layout.font));
    setSizeGripEnabled(false);
}

bool FormWindow::event(QEvent* event) {
    // Sent once the native window exists and before it is mapped.
    if (event->type() == QEvent::Show)
        AskForCloseAndMoveOnly(*this);
    // A frame comes only once the window is shown, after it was placed for a guessed one.
    if (centreWhenFramed_ && isVisible() && !FrameOf(*this).isNull()) {
        centreWhenFramed_ = false;
        if (FrameOf(*this) != LastFrame()) {
            LastFrame() = FrameOf(*this);
            CentreOnScreen(*this);
        }
    }
    return QDialog::event(event);
}

void FormWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Each pixel painted once: the back colour only where the picture does not reach.
    const QRect pictureArea(QPoint(0, 0), picture_.deviceIndependentSize().toSize());
    const QRegion uncovered = QRegion(rect()).subtracted(pictureArea);
    // One rectangle of the region at a time. Clipped to a rectangle, Qt copies the picture
    // row by row; clipped to the region, which the children cut up, it blends it span by
    // span and hands the larger blends to its thread pool, waiting for each.
    for (const QRect& part : event->region()) {
        painter.setClipRect(part);
        for (const QRect& strip : uncovered.intersected(part)) painter.fillRect(strip, back_);
        if (!picture_.isNull())
            painter.drawPixmap(0, 0, picture_);
    }
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    // Neither window has a cancel button: Escape does nothing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    // Enter presses the button that has the focus and nothing else; a dialog would press
    // the next button in the focus chain when the focus is elsewhere.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (auto* button = qobject_cast<QAbstractButton*>(focusWidget()))
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (form_.IsModal()) {
        // The close box of a modal form unloads it, as its own close button does.
        event->ignore();
        form_.Hide();
        form_.Unload();
        return;
    }
    event->accept();
    QDialog::closeEvent(event);
}

void FormWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    emit hidden();
}

QtForm::QtForm(const FormLayout& layout, FormEvents events)
    : layout_(layout), events_(ReportingFailures(layout, std::move(events))) {}

QtForm::~QtForm() {
    controls_.clear();
    delete window_.data();
}

void QtForm::Load() {
    if (IsLoaded())
        return;
    window_ = new FormWindow(*this, layout_);
    const Qt::WindowFlags frame = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                  Qt::MSWindowsFixedSizeDialogHint;
    window_->setWindowFlags((layout_.border == FormBorder::FixedDialog ? Qt::Dialog : Qt::Window) |
                            frame);
    controls_.reserve(layout_.controls.size());
    std::vector<QWidget*> lowered;
    for (const ControlLayout& c : layout_.controls) {
        QWidget* widget = CreateControlWidget(c, layout_, window_);
        controls_.push_back(std::make_unique<QtControl>(c, widget));
        if (c.kind == ControlKind::TextBox && !c.caption.empty())
            controls_.back()->SetText(c.caption);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            const std::string name = c.name;
            const auto index = static_cast<std::int16_t>(c.index);
            QObject::connect(button, &QAbstractButton::clicked, window_, [this, name, index] {
                if (events_.click)
                    events_.click(name, index);
            });
        }
        if (c.kind == ControlKind::Shape)
            lowered.push_back(widget);
    }
    // Shapes lie beneath everything else, as painted decorations do.
    for (QWidget* w : lowered) w->lower();
    ApplyTabOrderAndFocus();
    if (events_.load)
        events_.load();
}

void QtForm::ApplyTabOrderAndFocus() {
    const std::vector<std::size_t> order = TabOrder(layout_);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(controls_[order[i - 1]]->Widget(), controls_[order[i]]->Widget());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (!TakesFocus(layout_.controls[i]))
            controls_[i]->Widget()->setFocusPolicy(Qt::NoFocus);
    }
    // The first control in tab order that can take the focus gets it when the window shows.
    const auto first = NextInTabOrder(order, std::nullopt, true, [this](std::size_t at) {
        const QWidget* widget = controls_[at]->Widget();
        return !widget->isHidden() && widget->isEnabled();
    });
    if (first)
        controls_[*first]->Widget()->setFocus(Qt::OtherFocusReason);
}

void QtForm::Show() {
    Load();
    modal_ = false;
    CentreOnScreen(*window_);
    window_->CentreWhenFramed();
    window_->show();
    window_->activateWindow();
}

void QtForm::ShowModal(Form& owner) {
    Load();
    modal_ = true;
    if (auto* ownerForm = dynamic_cast<QtForm*>(&owner); ownerForm && ownerForm->Window()) {
        const Qt::WindowFlags flags = window_->windowFlags();
        window_->setParent(ownerForm->Window(), flags);
    }
    window_->setWindowModality(Qt::ApplicationModal);
    CentreOnScreen(*window_);
    window_->CentreWhenFramed();
    QEventLoop loop;
    QObject::connect(window_, &FormWindow::hidden, &loop, &QEventLoop::quit);
    QObject::connect(window_, &QObject::destroyed, &loop, &QEventLoop::quit);
    window_->show();
    window_->activateWindow();
    loop.exec(QEventLoop::DialogExec);
    modal_ = false;
}

void QtForm::Hide() {
    if (window_)
        window_->hide();
}

void QtForm::Unload() {
    if (!window_)
        return;
    controls_.clear();
    FormWindow* window = window_;
    window_ = nullptr;
    window->hide();
    // A handler of one of its own buttons may be running: destroy it once that has returned.
    window->deleteLater();
}

std::vector<Control*> QtForm::Controls() {
    std::vector<Control*> out;
    out.reserve(controls_.size());
    for (auto& c : controls_) out.push_back(c.get());
    return out;
}

}  // namespace toolkit::qt
