#include "model/StateFileScan.h"

namespace StateFileScan {

namespace {

const QByteArrayView drinksKey = "\"drinks\"";
const QByteArrayView breakHistoryKey = "\"breakHistory\"";

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A position in the file and the steps over its structure.
class Cursor {
public:
    explicit Cursor(QByteArrayView text) : text_(text) { }

    qsizetype position() const { return position_; }
    bool atEnd() const { return position_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[position_]; }

    void skipWhiteSpace()
    {
        while (!atEnd() && isWhiteSpace(text_[position_]))
            ++position_;
    }

    bool take(char c)
    {
        if (peek() != c)
            return false;
        ++position_;
        return true;
    }

    // Steps over a string; `escaped` tells whether it held a backslash.
    bool skipString(bool* escaped = nullptr)
    {
        if (!take('"'))
            return false;
        while (!atEnd()) {
            const char c = text_[position_++];
            if (c == '"')
                return true;
            if (c == '\\') {
                if (escaped)
                    *escaped = true;
                ++position_;
            }
        }
        return false;
    }

    // Steps over one value of any kind: strings and nesting are followed, anything else runs to
    // the next delimiter. Whether the value is well formed is the parser's to judge.
    bool skipValue()
    {
        const char first = peek();
        if (first == '"')
            return skipString();
        if (first == '{' || first == '[')
            return skipNested();
        const qsizetype start = position_;
        while (!atEnd() && !isWhiteSpace(peek()) && peek() != ',' && peek() != '}' && peek() != ']')
            ++position_;
        return position_ > start;
    }

private:
    bool skipNested()
    {
        int depth = 0;
        while (!atEnd()) {
            const char c = peek();
            if (c == '"') {
                if (!skipString())
                    return false;
                continue;
            }
            ++position_;
            if (c == '{' || c == '[')
                ++depth;
            else if ((c == '}' || c == ']') && --depth == 0)
                return true;
        }
        return false;
    }

    QByteArrayView text_;
    qsizetype position_ = 0;
};

}  // namespace

std::optional<Split> split(QByteArrayView file)
{
    Split result;
    Cursor cursor(file);
    qsizetype copiedUpTo = 0;
    cursor.skipWhiteSpace();
    if (!cursor.take('{'))
        return std::nullopt;
    cursor.skipWhiteSpace();
    bool more = !cursor.take('}');
    while (more) {
        const qsizetype keyStart = cursor.position();
        bool escaped = false;
        if (!cursor.skipString(&escaped) || escaped)
            return std::nullopt;
        const QByteArrayView key = file.sliced(keyStart, cursor.position() - keyStart);
        cursor.skipWhiteSpace();
        if (!cursor.take(':'))
            return std::nullopt;
        cursor.skipWhiteSpace();
        const qsizetype valueStart = cursor.position();
        const bool isArray = cursor.peek() == '[';
        if (!cursor.skipValue())
            return std::nullopt;
        const QByteArrayView value = file.sliced(valueStart, cursor.position() - valueStart);
        std::optional<QByteArrayView>* target = key == drinksKey         ? &result.drinks
                                                : key == breakHistoryKey ? &result.breakHistory
                                                                         : nullptr;
        if (target && target->has_value())
            return std::nullopt;
        if (target && isArray) {
            *target = value;
            result.rest += file.sliced(copiedUpTo, valueStart - copiedUpTo);
            result.rest += "[]";
            copiedUpTo = cursor.position();
        }
        cursor.skipWhiteSpace();
        if (cursor.take('}'))
            more = false;
        else if (!cursor.take(','))
            return std::nullopt;
        else
            cursor.skipWhiteSpace();
    }
    cursor.skipWhiteSpace();
    if (!cursor.atEnd())
        return std::nullopt;
    result.rest += file.sliced(copiedUpTo);
    return result;
}

bool forEachElement(QByteArrayView array, const std::function<bool(QByteArrayView)>& take)
{
    Cursor cursor(array);
    if (!cursor.take('['))
        return false;
    cursor.skipWhiteSpace();
    if (cursor.take(']'))
        return cursor.atEnd();
    while (true) {
        const qsizetype start = cursor.position();
        if (!cursor.skipValue() || !take(array.sliced(start, cursor.position() - start)))
            return false;
        cursor.skipWhiteSpace();
        if (cursor.take(']'))
            return cursor.atEnd();
        if (!cursor.take(','))
            return false;
        cursor.skipWhiteSpace();
    }
}

}  // namespace StateFileScan
