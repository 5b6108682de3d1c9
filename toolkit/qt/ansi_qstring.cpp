#include "toolkit/qt/ansi_qstring.h"

#include "base/codepage/cp1252.h"

namespace toolkit::qt {

QString FromAnsi(const std::string& bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        out.append(
            QChar(static_cast<char16_t>(codepage::ToCodePoint(static_cast<unsigned char>(c)))));
    }
    return out;
}

AnsiText ToAnsi(const QString& text) {
    AnsiText result;
    result.bytes.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() &&
            text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
        }
        const auto byte = codepage::FromCodePoint(cp);
        if (!byte) {
            result.bytes.clear();
            result.refusal = Refusal::Unencodable(cp);
            return result;
        }
        result.bytes.push_back(static_cast<char>(*byte));
    }
    return result;
}

}  // namespace toolkit::qt
