#pragma once

#include <QString>

namespace zelvan::platform {

// Message box styles and answers, with the runtime's numbers.
namespace MsgBox {
inline constexpr int OkOnly = 0;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;

inline constexpr int Ok = 1;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MsgBox

// Every message of the program goes through this one service. A carriage
// return in the text is a line break.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // Shows `text` with the buttons and icon of `style`; returns the answer
    // (MsgBox::Ok, MsgBox::Yes or MsgBox::No).
    virtual int show(const QString &text, int style, const QString &caption) = 0;
};

} // namespace zelvan::platform
