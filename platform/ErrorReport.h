#pragma once
// The message a window shows when something unforeseen fails while it is being built:
// "エラーNo." + a number + "　未知のエラーが発生しました", with an OK button.

#include <QString>
#include <exception>
#include <stdexcept>

class QWidget;

namespace masumemo::platform {

/// A failure that carries the number the user is shown.
class NumberedError : public std::runtime_error
{
public:
    NumberedError(int number, const std::string& what) : std::runtime_error(what), m_number(number)
    {
    }
    int number() const { return m_number; }

private:
    int m_number;
};

/// Numbers shown for failures that carry none: the classic runtime error numbers.
inline constexpr int kErrorOverflow = 6;
inline constexpr int kErrorOutOfMemory = 7;
inline constexpr int kErrorSubscriptOutOfRange = 9;
inline constexpr int kErrorInvalidArgument = 5;

/// The number for a caught exception (a NumberedError keeps its own).
int errorNumber(const std::exception_ptr& failure);

/// "エラーNo." + number + "　未知のエラーが発生しました".
QString unknownErrorText(int number);

/// Shows the message for the exception being handled; call from inside a catch block.
void reportUnknownError(QWidget* parent, const std::exception_ptr& failure);

}  // namespace masumemo::platform
