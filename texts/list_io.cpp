#include "texts/list_io.h"

#include "state/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vardel {
namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

ListInput::ListInput(QString text) : owner_(std::move(text)), text_(owner_) {
    if (text_.startsWith(QChar(0xFEFF))) {
        text_ = text_.mid(1);
    }
}

qsizetype ListInput::LineEndLength(qsizetype at) const {
    if (at >= text_.size()) {
        return 0;
    }
    if (text_[at] == u'\n') {
        return 1;
    }
    if (text_[at] == u'\r') {
        return at + 1 < text_.size() && text_[at + 1] == u'\n' ? 2 : 1;
    }
    return 0;
}

bool ListInput::RestIsBlank() const {
    for (qsizetype k = pos_; k < text_.size(); ++k) {
        if (!IsBlank(text_[k]) && text_[k] != u'\r' && text_[k] != u'\n') {
            return false;
        }
    }
    return true;
}

void ListInput::SkipBlanksOnLine() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) {
        ++pos_;
    }
}

bool ListInput::SkipBlanks() {
    if (afterComma_) {
        SkipBlanksOnLine();
        itemLine_ = line_;
        return pos_ < text_.size();
    }
    for (;;) {
        SkipBlanksOnLine();
        const qsizetype end = LineEndLength(pos_);
        if (end == 0) {
            break;
        }
        pos_ += end;
        ++line_;
    }
    itemLine_ = line_;
    return pos_ < text_.size();
}

void ListInput::SkipSeparator() {
    afterComma_ = false;
    SkipBlanksOnLine();
    if (pos_ < text_.size() && text_[pos_] == u',') {
        ++pos_;
        afterComma_ = true;
    } else if (const qsizetype end = LineEndLength(pos_)) {
        pos_ += end;
        ++line_;
    }
}

ListInput::Status ListInput::ReadNumber(double& out) {
    offending_.clear();
    const bool emptyAllowed = afterComma_;
    if (!SkipBlanks()) {
        return emptyAllowed ? Status::NotANumber : Status::EndOfFile;
    }
    const qsizetype start = pos_;
    qsizetype k = pos_;
    std::string ascii;
    if (text_[k] == u'+' || text_[k] == u'-') {
        ascii += static_cast<char>(text_[k].unicode());
        ++k;
    }
    int digits = 0;
    for (; k < text_.size() && IsAsciiDigit(text_[k]); ++k, ++digits) {
        ascii += static_cast<char>(text_[k].unicode());
    }
    if (k < text_.size() && text_[k] == u'.') {
        ascii += '.';
        ++k;
        for (; k < text_.size() && IsAsciiDigit(text_[k]); ++k, ++digits) {
            ascii += static_cast<char>(text_[k].unicode());
        }
    }
    if (digits == 0) {
        qsizetype e = start;
        while (e < text_.size() && e - start < 40 && !IsBlank(text_[e]) && text_[e] != u',' &&
               LineEndLength(e) == 0) {
            ++e;
        }
        offending_ = text_.mid(start, e - start).toString();
        return Status::NotANumber;
    }
    // An exponent only when digits follow it: "12Es_Eb" is 12 and a key.
    if (k < text_.size() &&
        (text_[k] == u'e' || text_[k] == u'E' || text_[k] == u'd' || text_[k] == u'D')) {
        qsizetype e = k + 1;
        std::string exponent = "e";
        if (e < text_.size() && (text_[e] == u'+' || text_[e] == u'-')) {
            exponent += static_cast<char>(text_[e].unicode());
            ++e;
        }
        if (e < text_.size() && IsAsciiDigit(text_[e])) {
            for (; e < text_.size() && IsAsciiDigit(text_[e]); ++e) {
                exponent += static_cast<char>(text_[e].unicode());
            }
            ascii += exponent;
            k = e;
        }
    }
    pos_ = k;
    SkipSeparator();
    out = AsciiToDouble(ascii);
    if (!std::isfinite(out)) {
        offending_ = text_.mid(start, k - start).left(40).toString();
        return Status::Overflow;
    }
    return Status::Ok;
}

ListInput::Status ListInput::ReadInt16(Int16& out) {
    double v = 0;
    const Status st = ReadNumber(v);
    if (st != Status::Ok) {
        return st;
    }
    const Int16Result r = ToInt16(v);
    if (r.status != Convert::Ok) {
        offending_ = QString::number(v, 'g', 15);
        return Status::Overflow;
    }
    out = r.value;
    return Status::Ok;
}

ListInput::Status ListInput::ReadSingle(float& out) {
    double v = 0;
    const Status st = ReadNumber(v);
    if (st != Status::Ok) {
        return st;
    }
    if (std::fabs(v) > std::numeric_limits<float>::max()) {
        offending_ = QString::number(v, 'g', 15);
        return Status::Overflow;
    }
    out = static_cast<float>(v);
    return Status::Ok;
}

ListInput::Status ListInput::ReadText(QString& out) {
    const bool emptyAllowed = afterComma_;
    if (!SkipBlanks() && !emptyAllowed) {
        return Status::EndOfFile;
    }
    const qsizetype start = pos_;
    while (pos_ < text_.size() && text_[pos_] != u',' && LineEndLength(pos_) == 0) {
        ++pos_;
    }
    out = text_.mid(start, pos_ - start).toString();
    // Only the comma or the line end ends a text: blanks before it belong to the text.
    afterComma_ = false;
    if (pos_ < text_.size() && text_[pos_] == u',') {
        ++pos_;
        afterComma_ = true;
    } else if (const qsizetype end = LineEndLength(pos_)) {
        pos_ += end;
        ++line_;
    }
    return Status::Ok;
}

ListInput::Status ListInput::ReadLine(QString& out) {
    afterComma_ = false;
    itemLine_ = line_;
    if (pos_ >= text_.size()) {
        return Status::EndOfFile;
    }
    const qsizetype start = pos_;
    while (pos_ < text_.size() && LineEndLength(pos_) == 0) {
        ++pos_;
    }
    out = text_.mid(start, pos_ - start).toString();
    if (const qsizetype end = LineEndLength(pos_)) {
        pos_ += end;
        ++line_;
    }
    return Status::Ok;
}

QString ListInt(long long value) {
    return value < 0 ? QString::number(value) + u' ' : u' ' + QString::number(value) + u' ';
}

QString ListSingle(float value) {
    const QString digits = SingleText(value);
    return digits.startsWith(u'-') ? digits + u' ' : u' ' + digits + u' ';
}

QString SingleText(float value) {
    if (value == 0) {
        return QStringLiteral("0");
    }
    if (!std::isfinite(value)) {
        return value != value
                   ? QStringLiteral("0")
                   : (value < 0 ? QStringLiteral("-3.402823E+38") : QStringLiteral("3.402823E+38"));
    }
    // The shortest of 7 to 9 significant digits that reads back as the single, in the form of
    // printf's %G, but with a point whatever the process locale.
    std::string s;
    for (int precision = 7; precision <= 9; ++precision) {
        char buf[64];
        char* end = std::to_chars(std::begin(buf), std::end(buf), static_cast<double>(value),
                                  std::chars_format::general, precision)
                        .ptr;
        s.assign(std::begin(buf), end);
        if (static_cast<float>(AsciiToDouble(s)) == value) {
            break;
        }
    }
    std::replace(s.begin(), s.end(), 'e', 'E');
    // "0.5" → ".5", "-0.5" → "-.5"
    if (s.rfind("0.", 0) == 0) {
        s.erase(0, 1);
    } else if (s.rfind("-0.", 0) == 0) {
        s.erase(1, 1);
    }
    return QString::fromStdString(s);
}

}  // namespace vardel
