// The big text box: QScintilla set up to look and behave like a plain multi-line edit box,
// holding the document as ANSI bytes without changing a single one.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <string>

#include "toolkit/form.h"

namespace toolkit::qt {

class DocumentEdit : public QsciScintilla {
    Q_OBJECT
  public:
    explicit DocumentEdit(QWidget* parent);

    void SetAnsiText(const std::string& bytes);
    AnsiText AnsiContent() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BindPlainEditKeys();
};

}  // namespace toolkit::qt
