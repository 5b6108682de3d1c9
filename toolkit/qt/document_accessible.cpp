#include "toolkit/qt/document_accessible.h"

#include <algorithm>
#include <utility>

#include "toolkit/qt/document_edit.h"

namespace toolkit::qt {
namespace {

using Sci = QsciScintillaBase;

QAccessibleInterface* DocumentAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(DocumentEdit::staticMetaObject.className()) && object &&
        object->isWidgetType()) {
        return new DocumentAccessible(static_cast<DocumentEdit*>(object));
    }
    return nullptr;
}

// A few lines of the document, so that Qt's own rules for characters, words and sentences
// apply to them without copying the whole text first (as Qt's defaults do).
class TextExcerpt : public QAccessibleTextInterface {
  public:
    explicit TextExcerpt(QString text) : text_(std::move(text)) {}
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        return text_.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(text_.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = -1;
        return {};
    }

  private:
    QString text_;
};

}  // namespace

void InstallDocumentAccessibility() {
    static bool installed = false;
    if (!installed) {
        // Qt asks the most recently installed factory first, and for the most derived
        // class first, so this one wins over QScintilla's for QsciScintillaBase.
        QAccessible::installFactory(DocumentAccessibleFactory);
        installed = true;
    }
}

DocumentAccessible::DocumentAccessible(DocumentEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText) {}

DocumentEdit* DocumentAccessible::Edit() const {
    return static_cast<DocumentEdit*>(widget());
}

QAccessible::State DocumentAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.multiLine = true;
    state.selectableText = true;
    if (Edit()->isReadOnly()) {
        state.readOnly = true;
    } else {
        state.editable = true;
    }
    return state;
}

void* DocumentAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

void DocumentAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || selectionCount() == 0)
        return;
    *startOffset = Edit()->Offsets().OffsetOf(Edit()->SendScintilla(Sci::SCI_GETSELECTIONSTART));
    *endOffset = Edit()->Offsets().OffsetOf(Edit()->SendScintilla(Sci::SCI_GETSELECTIONEND));
}

int DocumentAccessible::selectionCount() const {
    return Edit()->SendScintilla(Sci::SCI_GETSELECTIONEMPTY) ? 0 : 1;
}

void DocumentAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void DocumentAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0)
        Edit()->SendScintilla(Sci::SCI_SETEMPTYSELECTION,
                              Edit()->SendScintilla(Sci::SCI_GETCURRENTPOS));
}

void DocumentAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0)
        return;
    const CharacterOffsets& offsets = Edit()->Offsets();
    Edit()->SendScintilla(Sci::SCI_SETSEL, offsets.PositionOf(startOffset),
                          offsets.PositionOf(endOffset));
}

int DocumentAccessible::cursorPosition() const {
    return Edit()->Offsets().OffsetOf(Edit()->SendScintilla(Sci::SCI_GETCURRENTPOS));
}

void DocumentAccessible::setCursorPosition(int position) {
    Edit()->SendScintilla(Sci::SCI_GOTOPOS, Edit()->Offsets().PositionOf(position));
}

QString DocumentAccessible::text(int startOffset, int endOffset) const {
    const CharacterOffsets& offsets = Edit()->Offsets();
    return offsets.TextBetween(offsets.PositionOf(startOffset), offsets.PositionOf(endOffset));
}

QString DocumentAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const {
    return TextNear(offset, boundaryType, Side::Before, startOffset, endOffset);
}

QString DocumentAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
    return TextNear(offset, boundaryType, Side::After, startOffset, endOffset);
}

QString DocumentAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int* startOffset, int* endOffset) const {
    return TextNear(offset, boundaryType, Side::At, startOffset, endOffset);
}

QString DocumentAccessible::TextNear(int offset, QAccessible::TextBoundaryType boundaryType,
                                     Side side, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = -1;
    const CharacterOffsets& offsets = Edit()->Offsets();
    const int count = offsets.Count();
    if (offset == -1)
        offset = count;
    if (offset < 0 || offset > count)
        return {};
    if (boundaryType == QAccessible::NoBoundary) {
        if (side != Side::At)
            return {};
        *startOffset = 0;
        *endOffset = count;
        return text(0, count);
    }

    const long length = Edit()->SendScintilla(Sci::SCI_GETLENGTH);
    const long lines = Edit()->SendScintilla(Sci::SCI_GETLINECOUNT);
    const long line = Edit()->SendScintilla(Sci::SCI_LINEFROMPOSITION, offsets.PositionOf(offset));
    auto lineStart = [&](long l) {
        return l >= lines ? length : Edit()->SendScintilla(Sci::SCI_POSITIONFROMLINE, l);
    };

    if (boundaryType == QAccessible::LineBoundary ||
        boundaryType == QAccessible::ParagraphBoundary) {
        // A line with its line end, as Qt's text boxes count it; a paragraph is a line here.
        const long wanted = line + static_cast<long>(side);
        if (wanted < 0 || wanted >= lines)
            return {};
        *startOffset = offsets.OffsetOf(lineStart(wanted));
        *endOffset = offsets.OffsetOf(lineStart(wanted + 1));
        return offsets.TextBetween(lineStart(wanted), lineStart(wanted + 1));
    }

    // Characters, words and sentences: Qt's own rules on the lines around the offset, taken
    // wider while what is found touches a side of them (a run of blank lines and punctuation
    // is one piece to Qt). At the very end there is nothing to find, and Qt's rule for it
    // never returns there.
    if (side == Side::At && offset == count)
        return {};
    for (long linesBefore = 1, linesAfter = 1;;) {
        const long from = lineStart(std::max(0L, line - linesBefore));
        const long to = lineStart(line + 1 + linesAfter);
        const int excerptStart = offsets.OffsetOf(from);
        const TextExcerpt excerpt(offsets.TextBetween(from, to));
        const int local = offset - excerptStart;
        int start = -1;
        int end = -1;
        QString found;
        switch (side) {
            case Side::Before:
                found = excerpt.textBeforeOffset(local, boundaryType, &start, &end);
                break;
            case Side::At:
                found = excerpt.textAtOffset(local, boundaryType, &start, &end);
                break;
            case Side::After:
                found = excerpt.textAfterOffset(local, boundaryType, &start, &end);
                break;
        }
        const bool cutAtStart = from > 0 && start <= 0;
        const bool cutAtEnd = to < length && (start < 0 || end >= excerpt.characterCount());
        if (!cutAtStart && !cutAtEnd) {
            if (start >= 0) {
                *startOffset = start + excerptStart;
                *endOffset = end + excerptStart;
            }
            return found;
        }
        if (cutAtStart)
            linesBefore *= 4;
        if (cutAtEnd)
            linesAfter *= 4;
    }
}

int DocumentAccessible::characterCount() const {
    return Edit()->Offsets().Count();
}

QRect DocumentAccessible::characterRect(int offset) const {
    DocumentEdit* edit = Edit();
    const long position = edit->Offsets().PositionOf(offset);
    const long next = edit->SendScintilla(Sci::SCI_POSITIONAFTER, position);
    const long line = edit->SendScintilla(Sci::SCI_LINEFROMPOSITION, position);
    const int x = static_cast<int>(edit->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0, position));
    const int y = static_cast<int>(edit->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0, position));
    int width = 0;
    if (next > position && edit->SendScintilla(Sci::SCI_LINEFROMPOSITION, next) == line)
        width = static_cast<int>(edit->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0, next)) - x;
    const int height = static_cast<int>(edit->SendScintilla(Sci::SCI_TEXTHEIGHT, line));
    QRect rect(x, y, std::max(width, 1), height);
    rect.moveTo(edit->viewport()->mapToGlobal(rect.topLeft()));
    return rect;
}

int DocumentAccessible::offsetAtPoint(const QPoint& point) const {
    DocumentEdit* edit = Edit();
    const QPoint local = edit->viewport()->mapFromGlobal(point);
    const long position =
        edit->SendScintilla(Sci::SCI_POSITIONFROMPOINTCLOSE, static_cast<unsigned long>(local.x()),
                            static_cast<long>(local.y()));
    return position < 0 ? -1 : edit->Offsets().OffsetOf(position);
}

void DocumentAccessible::scrollToSubstring(int startIndex, int endIndex) {
    const CharacterOffsets& offsets = Edit()->Offsets();
    Edit()->SendScintilla(Sci::SCI_SCROLLRANGE, offsets.PositionOf(endIndex),
                          offsets.PositionOf(startIndex));
}

QString DocumentAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // One font and colour for all the text: a single run without attributes.
    const int count = characterCount();
    if (offset < 0 || offset > count) {
        *startOffset = *endOffset = -1;
        return {};
    }
    *startOffset = 0;
    *endOffset = count;
    return {};
}

void DocumentAccessible::deleteText(int startOffset, int endOffset) {
    Replace(startOffset, endOffset, QString());
}

void DocumentAccessible::insertText(int offset, const QString& text) {
    Replace(offset, offset, text);
}

void DocumentAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    Replace(startOffset, endOffset, text);
}

void DocumentAccessible::Replace(int startOffset, int endOffset, const QString& text) {
    DocumentEdit* edit = Edit();
    if (edit->isReadOnly())
        return;
    const CharacterOffsets& offsets = edit->Offsets();
    const QByteArray utf8 = text.toUtf8();
    edit->SendScintilla(Sci::SCI_SETTARGETRANGE, offsets.PositionOf(startOffset),
                        offsets.PositionOf(endOffset));
    edit->SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(utf8.size()),
                        utf8.constData());
}

}  // namespace toolkit::qt
