#include "toolkit/qt/document_announcer.h"

#include <QAccessible>

namespace toolkit::qt {
namespace {

using Sci = QsciScintillaBase;

// A new document up to this many characters is announced with its text, as Qt's own text
// boxes do; a larger one only by the caret at its start, and the screen reader reads the
// lines it needs through the text interface instead of receiving megabytes at once.
constexpr int kLargestAnnouncedDocument = 1 << 20;

}  // namespace

DocumentAnnouncer::DocumentAnnouncer(QsciScintillaBase* editor, const CharacterOffsets& offsets)
    : QObject(editor), editor_(editor), offsets_(offsets) {
    connect(editor, &Sci::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                OnModified(position, type, length);
            });
    connect(editor, &Sci::SCN_UPDATEUI, this, &DocumentAnnouncer::OnUpdateUi);
}

void DocumentAnnouncer::OnModified(int position, int type, int length) {
    if (replacingAll_ || !QAccessible::isActive())
        return;
    // Heard before the change, while the offset of its start and the text it removes are
    // still there to read (the text before the change point is the same before and after).
    // An insertion's text is not there yet: it is read once the insertion is done, which
    // it is by the next change or by the time the changes are sent.
    ReadInsertedText();
    if (type & Sci::SC_MOD_BEFOREINSERT) {
        changes_.push_back({true, offsets_.OffsetOf(position), position, length, QString()});
    } else if (type & Sci::SC_MOD_BEFOREDELETE) {
        changes_.push_back({false, offsets_.OffsetOf(position), -1, length,
                            offsets_.TextBetween(position, position + length)});
    } else {
        return;
    }
    if (!sendQueued_) {
        sendQueued_ = true;
        QMetaObject::invokeMethod(this, &DocumentAnnouncer::SendChanges, Qt::QueuedConnection);
    }
}

void DocumentAnnouncer::ReadInsertedText() {
    // Each change reads the one before it, so only the last can still be unread.
    if (changes_.empty() || changes_.back().position < 0)
        return;
    Change& change = changes_.back();
    change.text = offsets_.TextBetween(change.position, change.position + change.length);
    change.position = -1;
}

void DocumentAnnouncer::SendChanges() {
    sendQueued_ = false;
    ReadInsertedText();
    std::vector<Change> changes;
    changes.swap(changes_);
    for (const Change& change : changes) {
        if (change.inserted) {
            QAccessibleTextInsertEvent event(editor_, change.offset, change.text);
            QAccessible::updateAccessibility(&event);
        } else {
            QAccessibleTextRemoveEvent event(editor_, change.offset, change.text);
            QAccessible::updateAccessibility(&event);
        }
    }
}

void DocumentAnnouncer::OnUpdateUi(int updated) {
    if (!QAccessible::isActive())
        return;
    // The text changes come before the caret move they caused.
    SendChanges();
    const int caret = offsets_.OffsetOf(editor_->SendScintilla(Sci::SCI_GETCURRENTPOS));
    if (caret != announcedCaret_) {
        announcedCaret_ = caret;
        QAccessibleTextCursorEvent event(editor_, caret);
        QAccessible::updateAccessibility(&event);
    }
    if ((updated & Sci::SC_UPDATE_SELECTION) &&
        !editor_->SendScintilla(Sci::SCI_GETSELECTIONEMPTY)) {
        QAccessibleTextSelectionEvent event(
            editor_, offsets_.OffsetOf(editor_->SendScintilla(Sci::SCI_GETSELECTIONSTART)),
            offsets_.OffsetOf(editor_->SendScintilla(Sci::SCI_GETSELECTIONEND)));
        QAccessible::updateAccessibility(&event);
    }
}

void DocumentAnnouncer::BeginReplacingAll() {
    replacingAll_ = true;
    changes_.clear();
    charactersBeforeReplacing_ = QAccessible::isActive() ? offsets_.Count() : 0;
}

void DocumentAnnouncer::EndReplacingAll() {
    replacingAll_ = false;
    announcedCaret_ = -1;
    if (!QAccessible::isActive())
        return;
    const int count = offsets_.Count();
    if (count > kLargestAnnouncedDocument)
        return;
    // Qt's text boxes announce what a change removed by its length, in spaces.
    QAccessibleTextUpdateEvent event(
        editor_, 0, QString(charactersBeforeReplacing_, u' '),
        offsets_.TextBetween(0, editor_->SendScintilla(Sci::SCI_GETLENGTH)));
    QAccessible::updateAccessibility(&event);
}

}  // namespace toolkit::qt
