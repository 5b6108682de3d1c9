#include "bench/open_type_save.h"

#include <unistd.h>

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <filesystem>
#include <vector>

#include "bench/child_process.h"
#include "bench/measures.h"
#include "bench/qt_widgets.h"
#include "bench/screen_reader.h"
#include "bench/window_probe.h"
#include "editor/frmCindermoor.h"
#include "toolkit/backend.h"

namespace bench {
namespace {

constexpr std::int16_t kHostsButton = 4;
constexpr int kSaves = 7;

QPushButton* Button(editor::frmCindermoor& window, const char* name, int index = -1) {
    return qobject_cast<QPushButton*>(WidgetOf(window.Form().Get(name, index)));
}

void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

}  // namespace

int RunOpenTypeSave(const std::string& hostsPath, bool screenReader, int keysTyped) {
    auto gui = toolkit::CreateToolkit();
    if (screenReader) {
        if (!SwitchOnAccessibility()) {
            Report("error", "accessibility could not be switched on");
            return 2;
        }
        ListenLikeAScreenReader();
    }
    MessageBoxRecorder boxes;
    const auto fileBytes = static_cast<long>(std::filesystem::file_size(hostsPath));

    editor::frmCindermoor window(*gui);
    window.Form().Load();
    QWidget* form = WindowOf(window.Form());
    auto* editor = qobject_cast<QsciScintilla*>(WidgetOf(window.Form().Get("txtDisplay")));
    PaintProbe formProbe(form);
    window.Show();
    if (!formProbe.WaitForPaint()) {
        Report("error", "the main window was not painted");
        return 3;
    }

    PaintProbe textProbe(editor->viewport());
    textProbe.Reset();
    const Clock::time_point clicked = Clock::now();
    Button(window, "cmdOpen", kHostsButton)->click();
    const Clock::time_point textSet = Clock::now();
    if (!textProbe.WaitForPaint()) {
        Report("error", "the text box was not painted after the click on \"Hosts\"");
        return 4;
    }
    const Clock::time_point painted = Clock::now();
    Report("open_set_ms", MillisecondsBetween(clicked, textSet));
    Report("open_paint_ms", MillisecondsBetween(clicked, painted));
    if (window.Form().Get("lblFileName").Caption() == "None") {
        Report("error", "the Hosts file did not open");
        return 5;
    }

    if (keysTyped == 0)
        return 0;
    form->activateWindow();
    editor->setFocus();
    textProbe.Reset();
    SendKey(editor, Qt::Key_End, Qt::ControlModifier, QString());
    textProbe.WaitForPaint(5000);

    std::vector<double> keyTimes;
    int unpainted = 0;
    for (int i = 0; i < keysTyped; ++i) {
        const QChar letter(u'a' + i % 26);
        textProbe.Reset();
        const Clock::time_point pressed = Clock::now();
        SendKey(editor, Qt::Key_A + i % 26, Qt::NoModifier, QString(letter));
        if (!textProbe.WaitForPaint(5000))
            ++unpainted;
        keyTimes.push_back(MillisecondsBetween(pressed, Clock::now()));
    }
    Report("key_median_ms", Median(keyTimes));
    Report("key_max_ms", Max(keyTimes));
    Report("keys_unpainted", unpainted);

    // Scrolling: Home and End on the last line, each timed until painted.
    std::vector<double> scrollTimes;
    for (int i = 0; i < keysTyped; ++i) {
        for (const int key : {Qt::Key_Home, Qt::Key_End}) {
            textProbe.Reset();
            const Clock::time_point pressed = Clock::now();
            SendKey(editor, key, Qt::NoModifier, QString());
            textProbe.WaitForPaint(5000);
            scrollTimes.push_back(MillisecondsBetween(pressed, Clock::now()));
        }
    }
    Report("scroll_median_ms", Median(scrollTimes));

    // The part of a save that is the text box's: its whole text as ANSI bytes.
    const Clock::time_point reading = Clock::now();
    const std::size_t textBytes = window.Form().Get("txtDisplay").Text().bytes.size();
    Report("text_read_ms", MillisecondsBetween(reading, Clock::now()));
    if (textBytes != static_cast<std::size_t>(fileBytes + keysTyped)) {
        Report("error", "the text box does not hold the file and the typed text");
        return 7;
    }

    // The disk's pace varies from one write to the next: each save is taken in turns with the
    // parent's plain write of the same bytes, both after a sync, so that neither pays for
    // the write-back the other left and a slow moment of the disk falls on both.
    std::vector<double> saveTimes;
    for (int save = 0; save < kSaves; ++save) {
        WaitForParentsTurn();
        ::sync();
        const Clock::time_point saving = Clock::now();
        Button(window, "cmdSave")->click();
        saveTimes.push_back(MillisecondsBetween(saving, Clock::now()));
    }
    Report("save_ms", Median(saveTimes));
    const auto savedBytes = static_cast<long>(std::filesystem::file_size(hostsPath));
    if (!boxes.boxes.empty() || savedBytes != fileBytes + keysTyped) {
        Report("error", "the save did not write the typed text");
        return 6;
    }

    Report("peak_kib", static_cast<double>(PeakResidentKiB()));
    if (screenReader) {
        Report("a11y_events", static_cast<double>(AccessibilityEventsSeen()));
        Report("a11y_chars_read", static_cast<double>(CharactersReadBack()));
    }
    return 0;
}

}  // namespace bench
