// The big text box: QScintilla set up to look and behave like a plain multi-line edit box,
// holding the document as ANSI bytes without changing a single one.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <string>

#include "toolkit/form.h"
#include "toolkit/qt/character_offsets.h"

namespace toolkit::qt {

class DocumentAnnouncer;

class DocumentEdit : public QsciScintilla {
    Q_OBJECT
  public:
    explicit DocumentEdit(QWidget* parent);
    ~DocumentEdit() override;

    // QScintilla takes a font's size in points only: a size in pixels is lost.
    void SetDisplayFont(QFont font);
    void SetAnsiText(const std::string& bytes);
    AnsiText AnsiContent() const;

    // Character offsets of the document, for assistive technology.
    const CharacterOffsets& Offsets() const { return offsets_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void UseDocumentWithoutStyles();
    void BindPlainEditKeys();

    CharacterOffsets offsets_{this};
    DocumentAnnouncer* announcer_;
};

}  // namespace toolkit::qt
