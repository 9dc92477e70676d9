#include "shell/qt/qt_text.h"

namespace shell {

QString plainCaption(const std::string& caption) {
  const QString text = toQString(caption);
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&')) {
      if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
        out += QLatin1Char('&');
        ++i;
      }
      continue;
    }
    out += text[i];
  }
  return out;
}

QString acceleratorHtml(const std::string& caption) {
  const QString text = toQString(caption);
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&'))
      continue;
    if (text[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    const std::string before = fromQString(text.left(i));
    const std::string after = fromQString(text.mid(i + 2));
    return plainCaption(before).toHtmlEscaped() + QStringLiteral("<u>") +
           QString(text[i + 1]).toHtmlEscaped() + QStringLiteral("</u>") +
           plainCaption(after).toHtmlEscaped();
  }
  return QString();
}

QString multiLineText(const std::string& text) {
  QString out = toQString(text);
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return out;
}

}  // namespace shell
