// The text of every control of both windows and of the message box, as drawn: each character
// as its own glyph, at the size of the screen's scale. Runs at several QT_SCALE_FACTORs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGlyphRun>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <functional>

#include "about/frmAbout.h"
#include "editor/frmCindermoor.h"
#include "tests/support/gui.h"
#include "tests/support/temp_drive.h"
#include "toolkit/message_box.h"

namespace {

using toolkit::ControlKind;

// Offscreen unless another platform is asked for; the scale comes from QT_SCALE_FACTOR.
const bool kPlatformChosen = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

// A control of a window, or the prompt of a message box: `show` puts a text into it and
// hands it to `look` while it shows the text.
using Look = std::function<void(QWidget*)>;
struct Shown {
    std::string name;
    std::function<void(const std::string& text, const Look& look)> show;
};

// On white, on a canvas of one size whatever the text: labels size themselves to it.
QImage Grab(QWidget* widget) {
    const qreal ratio = widget->devicePixelRatioF();
    QImage image(QSize(std::max(widget->width(), 300), std::max(widget->height(), 40)) * ratio,
                 QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    widget->render(&image);
    return image;
}

// Where `image` differs from `blank`: the ink of the text.
QRect InkBox(const QImage& image, const QImage& blank) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor a = image.pixelColor(x, y), b = blank.pixelColor(x, y);
            if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                    std::abs(a.blue() - b.blue()) + std::abs(a.alpha() - b.alpha()) >
                96)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// A paint device that keeps each piece of text drawn on it, with the font it is drawn in.
class TextRecorder : public QPaintDevice, QPaintEngine {
  public:
    struct Drawn {
        QString text;
        QFont font;
    };
    TextRecorder() : QPaintEngine(AllFeatures) {}
    const std::vector<Drawn>& Texts() const { return texts_; }

    QPaintEngine* paintEngine() const override { return const_cast<TextRecorder*>(this); }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
    }
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawRects(const QRectF*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override {
        texts_.push_back({item.text(), item.font()});
    }
    Type type() const override { return User; }

  protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
            case PdmHeight:
                return 1000;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
            case PdmDepth:
                return 32;
            default:
                return 1;
        }
    }

  private:
    std::vector<Drawn> texts_;
};

// Qt's own shaping of the text in the font it was drawn in gives each character the glyph
// that the font's character map gives it alone: no ligatures.
void ExpectOneGlyphPerCharacter(const TextRecorder::Drawn& drawn) {
    SCOPED_TRACE(drawn.font.family().toStdString() + ": " + drawn.text.toStdString());
    QTextLayout layout(drawn.text, drawn.font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].glyphIndexes(), runs[0].rawFont().glyphIndexesForString(drawn.text));
}

class TextRendering : public ::testing::Test {
  protected:
    void SetUp() override {
        main = std::make_unique<editor::frmCindermoor>(testsupport::Gui());
        main->Show();
        about = std::make_unique<about::frmAbout>(testsupport::Gui());
        about->Form().Load();
        about->Form().Get("electronicmail").SetVisible(true);
        about->Form().Show();
        testsupport::ProcessEvents();
        for (toolkit::Form* form : {&main->Form(), &about->Form()}) {
            for (toolkit::Control* c : form->Controls()) {
                const ControlKind kind = c->Kind();
                if (kind != ControlKind::CommandButton && kind != ControlKind::Label &&
                    kind != ControlKind::TextBox)
                    continue;
                controls.push_back({c->Name() + "(" + std::to_string(c->Index()) + ")",
                                    [c, kind](const std::string& text, const Look& look) {
                                        if (kind == ControlKind::TextBox)
                                            c->SetText(text);
                                        else
                                            c->SetCaption(text);
                                        look(testsupport::WidgetOf(*c));
                                    }});
            }
        }
        controls.push_back(
            {"message box", [](const std::string& text, const Look& look) {
                 QTimer::singleShot(0, [&] {
                     auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                     look(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")));
                     box->button(QMessageBox::Ok)->click();
                 });
                 toolkit::MsgBox(text, 16, "Error");
             }});
    }
    void TearDown() override {
        about.reset();
        main.reset();
        testsupport::ProcessEvents();
    }

    testsupport::TempDrive drive;
    std::unique_ptr<editor::frmCindermoor> main;
    std::unique_ptr<about::frmAbout> about;
    std::vector<Shown> controls;
};

// Pairs that fonts here join: Wine's MS Sans Serif (TM, ...), its Tahoma and DejaVu Sans
// (fi, fl, ff).
const char* const kLigatureProbes[] = {"SET TMP=C:\\TEMP", "...", "1/2", "fi fl ffi"};

TEST_F(TextRendering, EveryCharacterIsDrawnAsItsOwnGlyph) {
    for (const Shown& control : controls) {
        SCOPED_TRACE(control.name);
        for (const char* probe : kLigatureProbes) {
            TextRecorder recorder;
            control.show(probe, [&](QWidget* widget) { widget->render(&recorder); });
            const auto drawn =
                std::find_if(recorder.Texts().begin(), recorder.Texts().end(),
                             [&](const TextRecorder::Drawn& d) { return d.text.contains(probe); });
            ASSERT_NE(drawn, recorder.Texts().end()) << probe << " is not drawn";
            ExpectOneGlyphPerCharacter(*drawn);
        }
    }
}

// The height of a capital's ink, drawn in the control and drawn alone in the control's font
// at 100 %: their ratio is the screen's scale.
TEST_F(TextRendering, LettersScaleWithTheScreen) {
    const double scale = qApp->devicePixelRatio();
    for (const Shown& control : controls) {
        SCOPED_TRACE(control.name);
        QImage blank, capital;
        QFont font;
        int dpi = 0;
        control.show("", [&](QWidget* widget) { blank = Grab(widget); });
        control.show("H", [&](QWidget* widget) {
            capital = Grab(widget);
            font = widget->font();
            dpi = widget->logicalDpiY();
        });
        QImage alone(100, 100, QImage::Format_ARGB32);
        alone.setDotsPerMeterY(std::lround(dpi / 0.0254));
        alone.setDotsPerMeterX(alone.dotsPerMeterY());
        alone.fill(Qt::white);
        const QImage white = alone;
        {
            QPainter painter(&alone);
            painter.setPen(Qt::black);
            painter.setFont(font);
            painter.drawText(10, 80, QStringLiteral("H"));
        }
        ASSERT_EQ(capital.size(), blank.size());
        const int expected = std::lround(InkBox(alone, white).height() * scale);
        EXPECT_NEAR(InkBox(capital, blank).height(), expected, std::max(1.0, 0.1 * expected))
            << "at scale " << scale;
    }
}

}  // namespace
