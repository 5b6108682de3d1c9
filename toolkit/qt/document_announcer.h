// Tells assistive technology what happens in the big text box: text inserted and removed,
// the caret moved, the selection changed. It costs nothing while no screen reader listens.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "toolkit/qt/character_offsets.h"

namespace toolkit::qt {

class DocumentAnnouncer : public QObject {
  public:
    DocumentAnnouncer(QsciScintillaBase* editor, const CharacterOffsets& offsets);

    // The modifications Scintilla must report for the announcements; nothing else is asked
    // for (QScintilla counts characters from the start of the buffer on every one it hears).
    static constexpr int kModificationEvents =
        QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE;

    // Around the loading of a whole new document, which is announced as one change.
    void BeginReplacingAll();
    void EndReplacingAll();

  private:
    struct Change {
        bool inserted;
        int offset;
        long position;  // of an insertion whose text is not read yet, else -1
        long length;
        QString text;
    };
    void OnModified(int position, int type, int length);
    void OnUpdateUi(int updated);
    void ReadInsertedText();
    void SendChanges();

    QsciScintillaBase* editor_;
    const CharacterOffsets& offsets_;
    std::vector<Change> changes_;  // heard before they happen, sent once they have
    bool sendQueued_ = false;
    bool replacingAll_ = false;
    int charactersBeforeReplacing_ = 0;
    int announcedCaret_ = -1;
};

}  // namespace toolkit::qt
