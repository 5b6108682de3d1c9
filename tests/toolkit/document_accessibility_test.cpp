// What a screen reader gets from the big text box: the text, with offsets counted in
// characters while the box holds UTF-8, and events for edits and caret moves.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <string>
#include <vector>

#include "base/codepage/cp1252.h"
#include "toolkit/qt/document_edit.h"

namespace {

using toolkit::qt::DocumentEdit;
using Sci = QsciScintillaBase;

// Windows-1252 text with characters of one, two and three UTF-8 bytes, an empty line,
// sentences and no line end at the end.
const std::string kText =
    "caf\xE9 \x80 10. Two words.\r\nline two\r\n\r\n\x93quoted\x94 na\xEFve end\r\nlast";

QString Decoded(const std::string& ansi) {
    return QString::fromUtf8(codepage::ToUtf8(ansi));
}

// Qt's own answers for a text, computed from the whole of it: what our answers must equal.
class WholeText : public QAccessibleTextInterface {
  public:
    explicit WholeText(QString text) : text_(std::move(text)) {}
    void selection(int, int* s, int* e) const override { *s = *e = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int s, int e) const override { return text_.mid(s, e - s); }
    int characterCount() const override { return static_cast<int>(text_.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* s, int* e) const override {
        *s = *e = -1;
        return {};
    }

  private:
    QString text_;
};

// Qt's accessibility is on only when the platform reports an assistive technology; there
// is no public switch, so reach the platform's flag through Qt's exported entry points.
bool SwitchOnAccessibility() {
    auto* integration = static_cast<void**>(
        dlsym(RTLD_DEFAULT, "_ZN22QGuiApplicationPrivate20platform_integrationE"));
    auto accessibilityOf = reinterpret_cast<void* (*)(const void*)>(
        dlsym(RTLD_DEFAULT, "_ZNK20QPlatformIntegration13accessibilityEv"));
    auto setActive = reinterpret_cast<void (*)(void*, bool)>(
        dlsym(RTLD_DEFAULT, "_ZN22QPlatformAccessibility9setActiveEb"));
    if (!integration || !*integration || !accessibilityOf || !setActive)
        return false;
    if (void* accessibility = accessibilityOf(*integration))
        setActive(accessibility, true);
    return QAccessible::isActive();
}

struct SeenEvent {
    QAccessible::Event type;
    int offset;
    QString text;
};
std::vector<SeenEvent>* seenEvents = nullptr;

void RecordEvent(QAccessibleEvent* event) {
    if (!seenEvents || !qobject_cast<DocumentEdit*>(event->object()))
        return;
    switch (event->type()) {
        case QAccessible::TextInserted: {
            auto* e = static_cast<QAccessibleTextInsertEvent*>(event);
            seenEvents->push_back({e->type(), e->changePosition(), e->textInserted()});
            break;
        }
        case QAccessible::TextRemoved: {
            auto* e = static_cast<QAccessibleTextRemoveEvent*>(event);
            seenEvents->push_back({e->type(), e->changePosition(), e->textRemoved()});
            break;
        }
        case QAccessible::TextUpdated: {
            auto* e = static_cast<QAccessibleTextUpdateEvent*>(event);
            seenEvents->push_back({e->type(), e->changePosition(), e->textInserted()});
            break;
        }
        case QAccessible::TextCaretMoved: {
            auto* e = static_cast<QAccessibleTextCursorEvent*>(event);
            seenEvents->push_back({e->type(), e->cursorPosition(), QString()});
            break;
        }
        default:
            break;
    }
}

class DocumentAccessibility : public ::testing::Test {
  protected:
    void SetUp() override {
        edit.resize(400, 200);
        edit.SetAnsiText(kText);
    }

    QAccessibleInterface* Accessible() { return QAccessible::queryAccessibleInterface(&edit); }
    QAccessibleTextInterface* Text() { return Accessible()->textInterface(); }
    long BytePosition() { return edit.SendScintilla(Sci::SCI_GETCURRENTPOS); }

    DocumentEdit edit{nullptr};
};

TEST_F(DocumentAccessibility, IsAnEditableMultiLineTextWithTextInterfaces) {
    QAccessibleInterface* accessible = Accessible();
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    EXPECT_TRUE(accessible->state().editable);
    EXPECT_TRUE(accessible->state().multiLine);
    ASSERT_NE(accessible->textInterface(), nullptr);
    EXPECT_NE(accessible->editableTextInterface(), nullptr);
}

TEST_F(DocumentAccessibility, CountsAndReadsCharactersNotBytes) {
    const QString expected = Decoded(kText);
    ASSERT_EQ(Text()->characterCount(), expected.size());
    EXPECT_EQ(Text()->characterCount(), static_cast<int>(kText.size()));
    EXPECT_EQ(Text()->text(0, Text()->characterCount()), expected);
    EXPECT_EQ(Text()->text(3, 4), QStringLiteral(u"\u00E9"));
    EXPECT_EQ(Text()->text(5, 6), QStringLiteral(u"\u20AC"));
    for (int start = 0; start < expected.size(); start += 7)
        EXPECT_EQ(Text()->text(start, start + 5), expected.mid(start, 5)) << start;
}

TEST_F(DocumentAccessibility, AnswersAroundAnOffsetAsQtDoesForTheWholeText) {
    const WholeText reference(Decoded(kText));
    const int count = reference.characterCount();
    for (auto boundary :
         {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
          QAccessible::LineBoundary, QAccessible::ParagraphBoundary, QAccessible::NoBoundary}) {
        for (int offset = 0; offset <= count; ++offset) {
            int start = 0, end = 0, wantStart = -1, wantEnd = -1;
            QString want;
            // Qt's rule for words and sentences never returns at the very end; nothing is there.
            const bool qtLoopsForever =
                offset == count && (boundary == QAccessible::WordBoundary ||
                                    boundary == QAccessible::SentenceBoundary);
            if (!qtLoopsForever)
                want = reference.textAtOffset(offset, boundary, &wantStart, &wantEnd);
            EXPECT_EQ(Text()->textAtOffset(offset, boundary, &start, &end), want)
                << "at " << offset << " boundary " << boundary;
            EXPECT_EQ(start, wantStart) << "at " << offset << " boundary " << boundary;
            EXPECT_EQ(end, wantEnd) << "at " << offset << " boundary " << boundary;

            want = reference.textBeforeOffset(offset, boundary, &wantStart, &wantEnd);
            EXPECT_EQ(Text()->textBeforeOffset(offset, boundary, &start, &end), want)
                << "before " << offset << " boundary " << boundary;
            EXPECT_EQ(start, wantStart) << "before " << offset << " boundary " << boundary;

            want = reference.textAfterOffset(offset, boundary, &wantStart, &wantEnd);
            EXPECT_EQ(Text()->textAfterOffset(offset, boundary, &start, &end), want)
                << "after " << offset << " boundary " << boundary;
            EXPECT_EQ(end, wantEnd) << "after " << offset << " boundary " << boundary;
        }
    }
}

TEST_F(DocumentAccessibility, CaretAndSelectionAreInCharacters) {
    edit.SendScintilla(Sci::SCI_GOTOPOS, 9);  // after "café €", whose UTF-8 is 9 bytes
    EXPECT_EQ(Text()->cursorPosition(), 6);

    Text()->setCursorPosition(23);  // the start of "line two"
    EXPECT_EQ(Text()->text(23, 31), QStringLiteral("line two"));
    EXPECT_EQ(BytePosition(), 23 + 3);

    Text()->setSelection(0, 3, 6);
    EXPECT_EQ(Text()->selectionCount(), 1);
    int start = 0, end = 0;
    Text()->selection(0, &start, &end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 6);
    EXPECT_EQ(edit.SendScintilla(Sci::SCI_GETSELECTIONSTART), 3);
    EXPECT_EQ(edit.SendScintilla(Sci::SCI_GETSELECTIONEND), 9);
    Text()->removeSelection(0);
    EXPECT_EQ(Text()->selectionCount(), 0);
}

TEST_F(DocumentAccessibility, EditsLandOnTheRightBytes) {
    QAccessibleEditableTextInterface* editable = Accessible()->editableTextInterface();
    editable->insertText(4, QStringLiteral(u"\u00FC"));  // after "café"
    editable->replaceText(6, 7, QStringLiteral("EUR"));  // the euro sign
    editable->deleteText(0, 1);                          // the "c"
    std::string expected = kText;
    expected.insert(4, "\xFC");
    expected.replace(6, 1, "EUR");
    expected.erase(0, 1);
    EXPECT_EQ(edit.AnsiContent().bytes, expected);
}

TEST_F(DocumentAccessibility, ReadOnlyBoxIsNotChangedThroughAccessibility) {
    edit.setReadOnly(true);
    EXPECT_TRUE(Accessible()->state().readOnly);
    Accessible()->editableTextInterface()->insertText(0, QStringLiteral("x"));
    EXPECT_EQ(edit.AnsiContent().bytes, kText);
}

class DocumentAccessibilityEvents : public DocumentAccessibility {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SwitchOnAccessibility());
        QAccessible::installUpdateHandler(RecordEvent);
        seenEvents = &events;
        DocumentAccessibility::SetUp();
        edit.show();
        edit.setFocus();
        Settle();
        events.clear();
    }
    void TearDown() override {
        seenEvents = nullptr;
        QAccessible::installUpdateHandler(nullptr);
    }
    void Settle() {
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }
    void Type(int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&edit, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(&edit, &release);
        edit.repaint();
        Settle();
    }
    const SeenEvent* First(QAccessible::Event type) {
        for (const SeenEvent& e : events) {
            if (e.type == type)
                return &e;
        }
        return nullptr;
    }

    std::vector<SeenEvent> events;
};

TEST_F(DocumentAccessibilityEvents, TypingIsAnnouncedAtItsCharacterOffset) {
    const int end = static_cast<int>(kText.size());
    edit.SendScintilla(Sci::SCI_DOCUMENTEND);
    edit.repaint();
    Settle();
    events.clear();

    Type(Qt::Key_X, QStringLiteral("x"));
    const SeenEvent* inserted = First(QAccessible::TextInserted);
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(inserted->offset, end);
    EXPECT_EQ(inserted->text, QStringLiteral("x"));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().type, QAccessible::TextCaretMoved);
    EXPECT_EQ(events.back().offset, end + 1);
}

TEST_F(DocumentAccessibilityEvents, DeletingIsAnnouncedWithTheTextRemoved) {
    edit.SendScintilla(Sci::SCI_GOTOPOS, 9);  // after the euro sign
    Settle();
    events.clear();

    Type(Qt::Key_Backspace, QString());
    const SeenEvent* removed = First(QAccessible::TextRemoved);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(removed->offset, 5);
    EXPECT_EQ(removed->text, QStringLiteral(u"\u20AC"));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().type, QAccessible::TextCaretMoved);
    EXPECT_EQ(events.back().offset, 5);
}

TEST_F(DocumentAccessibilityEvents, TypingOverASelectionIsAnnouncedAsRemovalThenInsertion) {
    edit.SendScintilla(Sci::SCI_SETSEL, 31, 34);  // "two" in "line two": characters 28 to 31
    Settle();
    events.clear();

    Type(Qt::Key_Z, QStringLiteral("z"));
    std::vector<SeenEvent> changes;
    for (const SeenEvent& e : events) {
        if (e.type == QAccessible::TextRemoved || e.type == QAccessible::TextInserted)
            changes.push_back(e);
    }
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].type, QAccessible::TextRemoved);
    EXPECT_EQ(changes[0].offset, 28);
    EXPECT_EQ(changes[0].text, QStringLiteral("two"));
    EXPECT_EQ(changes[1].type, QAccessible::TextInserted);
    EXPECT_EQ(changes[1].offset, 28);
    EXPECT_EQ(changes[1].text, QStringLiteral("z"));
}

TEST_F(DocumentAccessibilityEvents, ANewDocumentIsAnnouncedAsOneChange) {
    edit.SetAnsiText("new \xE9 text");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, QAccessible::TextUpdated);
    EXPECT_EQ(events[0].offset, 0);
    EXPECT_EQ(events[0].text, QStringLiteral(u"new \u00E9 text"));
}

}  // namespace
