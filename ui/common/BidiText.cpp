#include "ui/common/BidiText.h"

namespace velmora::ui {

namespace {

constexpr QChar kLri(0x2066);
constexpr QChar kPdi(0x2069);

bool opensIsolate(QChar c)
{
    return c.unicode() >= 0x2066 && c.unicode() <= 0x2068;
}

bool isStrongLeft(QChar c)
{
    return c.direction() == QChar::DirL || c.direction() == QChar::DirEN;
}

bool isIn(QChar c, QStringView set)
{
    return set.contains(c);
}

// Degree, minute and second marks, and the percent sign, close a number.
bool isClosingMark(QChar c)
{
    return isIn(c, u"°'\"\u2032\u2033%");
}

// Sit between two parts of one number or word: 12:00, 1990/7/15, -0.33, -1°-30'0'', Los_Angeles.
bool joins(QChar c)
{
    return isClosingMark(c) || isIn(c, u":/.,-+_\u2212");
}

// Sit between Latin words, and close them: "index hors plage !".
bool spaces(QChar c)
{
    return isIn(c, u" !?;&()");
}

bool isSign(QChar c)
{
    return isIn(c, u"-+\u2212");
}

qsizetype endOfIsolate(const QString& text, qsizetype from)
{
    int depth = 0;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (opensIsolate(text[i]))
            ++depth;
        else if (text[i] == kPdi && --depth == 0)
            return i + 1;
    }
    return text.size();
}

// One past the run that starts at `from`: strong characters with the marks between them, and
// blanks only where a Latin letter stands on one side; then its closing marks and punctuation.
qsizetype endOfRun(const QString& text, qsizetype from)
{
    const qsizetype n = text.size();
    qsizetype end = from + 1;
    bool letters = text[from].isLetter();
    bool spaced = false;
    for (qsizetype j = end; j < n; ++j) {
        const QChar c = text[j];
        if (isStrongLeft(c)) {
            if (spaced && !letters && !c.isLetter())
                break; // two numbers apart stay two units
            letters = letters || c.isLetter();
            spaced = false;
            end = j + 1;
        } else if (joins(c) || spaces(c)) {
            spaced = spaced || spaces(c);
        } else {
            break;
        }
    }
    while (end < n && isClosingMark(text[end]))
        ++end;
    if (letters) {
        qsizetype blank = end;
        while (blank < n && text[blank] == u' ')
            ++blank;
        qsizetype mark = blank;
        while (mark < n && isIn(text[mark], u"!?.:;,)"))
            ++mark;
        if (mark > blank)
            end = mark;
    }
    return end;
}

} // namespace

QString isolateRuns(const QString& text)
{
    QString shown;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (opensIsolate(c)) {
            i = endOfIsolate(text, i);
            continue;
        }
        const bool sign = isSign(c) && i + 1 < text.size() && text[i + 1].direction() == QChar::DirEN;
        if (!sign && !isStrongLeft(c)) {
            ++i;
            continue;
        }
        const qsizetype end = endOfRun(text, sign ? i + 1 : i);
        shown += QStringView(text).mid(copied, i - copied);
        shown += kLri;
        shown += QStringView(text).mid(i, end - i);
        shown += kPdi;
        copied = i = end;
    }
    if (copied == 0)
        return text;
    shown += QStringView(text).mid(copied);
    // Qt's text documents (a message box's label) take the paragraph's direction from its first
    // letter, also inside an isolate: a right-to-left mark keeps an Arabic message right to left
    // when it opens with a Latin run.
    if (!text.isRightToLeft() && shown.isRightToLeft())
        shown.prepend(QChar(0x200F));
    return shown;
}

} // namespace velmora::ui
