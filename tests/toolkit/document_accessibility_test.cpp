// What a screen reader gets from the big text box: offsets in characters while the box holds
// UTF-8, and announcements of edits and caret moves.
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

using Sci = QsciScintillaBase;

// Characters of one, two and three UTF-8 bytes, an empty line, sentences, no final line end.
const std::string kText =
    "caf\xE9 \x80 10. Two words.\r\nline two\r\n\r\n\x93quoted\x94 na\xEFve end\r\nlast";

// Qt's own answers for a text, worked out from the whole of it: what ours must equal.
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
    QString attributes(int, int*, int*) const override { return {}; }

  private:
    QString text_;
};

class DocumentAccessibility : public ::testing::Test {
  protected:
    void SetUp() override { edit.SetAnsiText(kText); }
    QAccessibleInterface* Accessible() { return QAccessible::queryAccessibleInterface(&edit); }
    QAccessibleTextInterface* Text() { return Accessible()->textInterface(); }
    toolkit::qt::DocumentEdit edit{nullptr};
};

TEST_F(DocumentAccessibility, OffsetsCountCharactersAsQtDoesForTheWholeText) {
    const WholeText whole(QString::fromUtf8(codepage::ToUtf8(kText)));
    const int count = whole.characterCount();
    ASSERT_EQ(Text()->characterCount(), count);
    EXPECT_EQ(Accessible()->role(), QAccessible::EditableText);
    for (int offset = 0; offset <= count; ++offset) {
        EXPECT_EQ(Text()->text(offset, offset + 2), whole.text(offset, offset + 2)) << offset;
        for (auto boundary :
             {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
              QAccessible::LineBoundary, QAccessible::ParagraphBoundary, QAccessible::NoBoundary}) {
            const auto where = testing::Message() << offset << " boundary " << boundary;
            int s = 0, e = 0, wantS = -1, wantE = -1;
            // Qt's own rule loops forever after the last word or sentence.
            if (offset < count || boundary <= QAccessible::CharBoundary ||
                boundary >= QAccessible::LineBoundary) {
                const QString want = whole.textAtOffset(offset, boundary, &wantS, &wantE);
                EXPECT_EQ(Text()->textAtOffset(offset, boundary, &s, &e), want) << "at " << where;
                EXPECT_EQ(std::pair(s, e), std::pair(wantS, wantE)) << "at " << where;
            }
            QString want = whole.textBeforeOffset(offset, boundary, &wantS, &wantE);
            EXPECT_EQ(Text()->textBeforeOffset(offset, boundary, &s, &e), want) << where;
            EXPECT_EQ(s, wantS) << "before " << where;
            want = whole.textAfterOffset(offset, boundary, &wantS, &wantE);
            EXPECT_EQ(Text()->textAfterOffset(offset, boundary, &s, &e), want) << where;
            EXPECT_EQ(e, wantE) << "after " << where;
        }
    }
}

TEST_F(DocumentAccessibility, CaretSelectionAndEditsLandOnTheRightBytes) {
    edit.SendScintilla(Sci::SCI_GOTOPOS, 9);  // after "café €", 9 bytes of UTF-8
    EXPECT_EQ(Text()->cursorPosition(), 6);
    Text()->setCursorPosition(23);  // the start of "line two"
    EXPECT_EQ(edit.SendScintilla(Sci::SCI_GETCURRENTPOS), 23 + 3);
    Text()->setSelection(0, 3, 6);
    int start = 0, end = 0;
    Text()->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(3, 6));
    EXPECT_EQ(edit.SendScintilla(Sci::SCI_GETSELECTIONSTART), 3);
    EXPECT_EQ(edit.SendScintilla(Sci::SCI_GETSELECTIONEND), 9);

    QAccessibleEditableTextInterface* editable = Accessible()->editableTextInterface();
    editable->insertText(4, QStringLiteral(u"\u00FC"));  // after "café"
    editable->replaceText(6, 7, QStringLiteral("EUR"));  // the euro sign
    editable->deleteText(0, 1);
    EXPECT_EQ(edit.AnsiContent().bytes, "af\xE9\xFC EUR" + kText.substr(6));
    edit.setReadOnly(true);
    editable->insertText(0, QStringLiteral("x"));
    EXPECT_EQ(edit.AnsiContent().bytes, "af\xE9\xFC EUR" + kText.substr(6));
}

struct Announced {
    QAccessible::Event type;
    int offset;
    QString text;
    bool operator==(const Announced&) const = default;
};
void PrintTo(const Announced& a, std::ostream* out) {
    *out << a.type << '@' << a.offset << " \"" << a.text.toStdString() << '"';
}
std::vector<Announced> announced;

void Record(QAccessibleEvent* event) {
    if (event->type() == QAccessible::TextInserted) {
        auto* e = static_cast<QAccessibleTextInsertEvent*>(event);
        announced.push_back({e->type(), e->changePosition(), e->textInserted()});
    } else if (event->type() == QAccessible::TextRemoved) {
        auto* e = static_cast<QAccessibleTextRemoveEvent*>(event);
        announced.push_back({e->type(), e->changePosition(), e->textRemoved()});
    } else if (event->type() == QAccessible::TextUpdated) {
        auto* e = static_cast<QAccessibleTextUpdateEvent*>(event);
        announced.push_back({e->type(), e->changePosition(), e->textInserted()});
    } else if (event->type() == QAccessible::TextCaretMoved) {
        auto* e = static_cast<QAccessibleTextCursorEvent*>(event);
        announced.push_back({e->type(), e->cursorPosition(), {}});
    }
}

// Qt announces only while the platform reports an assistive technology; there is no public
// switch, so reach the platform's flag through Qt's exported entry points.
bool SwitchOnAccessibility() {
    auto* integration = static_cast<void**>(
        dlsym(RTLD_DEFAULT, "_ZN22QGuiApplicationPrivate20platform_integrationE"));
    auto accessibilityOf = reinterpret_cast<void* (*)(const void*)>(
        dlsym(RTLD_DEFAULT, "_ZNK20QPlatformIntegration13accessibilityEv"));
    auto setActive = reinterpret_cast<void (*)(void*, bool)>(
        dlsym(RTLD_DEFAULT, "_ZN22QPlatformAccessibility9setActiveEb"));
    if (integration && *integration && accessibilityOf && setActive)
        setActive(accessibilityOf(*integration), true);
    return QAccessible::isActive();
}

TEST_F(DocumentAccessibility, EditsAndCaretMovesAreAnnouncedInCharacters) {
    ASSERT_TRUE(SwitchOnAccessibility());
    QAccessible::installUpdateHandler(Record);
    edit.show();
    edit.setFocus();
    using A = QAccessible;
    const int end = static_cast<int>(kText.size());
    const long utf8End = static_cast<long>(codepage::ToUtf8(kText).size());
    const struct {
        long selectFrom, selectTo;  // in bytes of UTF-8
        int key;
        QString text;
        std::vector<Announced> expected;
    } cases[] = {
        {utf8End,
         utf8End,
         Qt::Key_X,
         "x",
         {{A::TextInserted, end, "x"}, {A::TextCaretMoved, end + 1, {}}}},
        {9, 9, Qt::Key_Backspace, "", {{A::TextRemoved, 5, "\u20AC"}, {A::TextCaretMoved, 5, {}}}},
        {31,
         34,
         Qt::Key_Z,
         "z",  // "two" of "line two"
         {{A::TextRemoved, 28, "two"}, {A::TextInserted, 28, "z"}, {A::TextCaretMoved, 29, {}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        edit.SetAnsiText(kText);
        edit.SendScintilla(Sci::SCI_SETSEL, c.selectFrom, c.selectTo);
        QApplication::processEvents();
        announced.clear();
        QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier, c.text);
        QApplication::sendEvent(&edit, &press);
        edit.repaint();
        QApplication::processEvents();
        EXPECT_EQ(announced, c.expected);
    }
    announced.clear();
    edit.SetAnsiText("new \xE9 text");
    EXPECT_EQ(announced,
              (std::vector<Announced>{{A::TextUpdated, 0, QStringLiteral(u"new \u00E9 text")}}));
    QAccessible::installUpdateHandler(nullptr);
}

}  // namespace
