#include "model/text_format.h"

#include <algorithm>

#include "model/key_names.h"

namespace tavrix::model {

namespace {

struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    size_t width = 0;
    char16_t kind = 0;
    size_t length = 0;
};

bool IsNumberKind(char16_t c)
{
    return c == u'd' || c == u'i' || c == u'u' || c == u'x' || c == u'X';
}

// Parses the conversion starting at format[0] == '%'; kind stays 0 when it is not one we fill.
Conversion ParseConversion(std::u16string_view format)
{
    Conversion conversion;
    size_t i = 1;
    for (; i < format.size() && (format[i] == u'-' || format[i] == u'0'); ++i) {
        conversion.leftAlign |= format[i] == u'-';
        conversion.zeroPad |= format[i] == u'0';
    }
    // Wider fields than any text buffer of the program can hold are not worth building.
    for (; i < format.size() && format[i] >= u'0' && format[i] <= u'9'; ++i)
        conversion.width = std::min(kTextCapacity, conversion.width * 10 + (format[i] - u'0'));
    if (i < format.size() && IsNumberKind(format[i])) {
        conversion.kind = format[i];
        conversion.length = i + 1;
    }
    return conversion;
}

std::u16string Digits(uint32_t value, char16_t kind)
{
    const unsigned base = (kind == u'x' || kind == u'X') ? 16 : 10;
    const char16_t* digits = kind == u'X' ? u"0123456789ABCDEF" : u"0123456789abcdef";
    std::u16string text;
    do {
        text.insert(text.begin(), digits[value % base]);
        value /= base;
    } while (value != 0);
    return text;
}

std::u16string Render(const Conversion& conversion, uint32_t value)
{
    std::u16string digits = Digits(value, conversion.kind);
    if (digits.size() >= conversion.width)
        return digits;
    const size_t pad = conversion.width - digits.size();
    if (conversion.leftAlign)
        return digits + std::u16string(pad, u' ');
    return std::u16string(pad, conversion.zeroPad ? u'0' : u' ') + digits;
}

} // namespace

std::u16string FormatNumber(std::u16string_view format, uint32_t value)
{
    std::u16string text;
    bool filled = false;
    size_t i = 0;
    while (i < format.size()) {
        if (format[i] != u'%') {
            text += format[i++];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == u'%') {
            text += u'%';
            i += 2;
            continue;
        }
        const Conversion conversion = ParseConversion(format.substr(i));
        if (filled || conversion.kind == 0) {
            text += format[i++];
            continue;
        }
        text += Render(conversion, value);
        filled = true;
        i += conversion.length;
    }
    return text;
}

// The language format with its one text argument put in place of the first %s (or %ls, %S);
// "%%" stands for a percent sign.
std::u16string FormatWithText(std::u16string_view format, std::u16string_view argument)
{
    std::u16string result;
    bool placed = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 >= format.size()) {
            result.push_back(format[i]);
            continue;
        }
        const std::u16string_view rest = format.substr(i + 1);
        if (rest.starts_with(u"%")) {
            result.push_back(u'%');
            i += 1;
        } else if (!placed && (rest.starts_with(u"s") || rest.starts_with(u"S") || rest.starts_with(u"ls"))) {
            result.append(argument);
            placed = true;
            i += rest.starts_with(u"ls") ? 2 : 1;
        } else {
            result.push_back(format[i]);
        }
    }
    return result;
}

} // namespace tavrix::model
