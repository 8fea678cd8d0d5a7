#include "ErrorReport.h"

#include <new>

#include "Dialogs.h"

namespace masumemo::platform {

int errorNumber(const std::exception_ptr& failure)
{
    try {
        if (failure) {
            std::rethrow_exception(failure);
        }
    } catch (const NumberedError& e) {
        return e.number();
    } catch (const std::bad_alloc&) {
        return kErrorOutOfMemory;
    } catch (const std::out_of_range&) {
        return kErrorSubscriptOutOfRange;
    } catch (const std::overflow_error&) {
        return kErrorOverflow;
    } catch (...) {
    }
    return kErrorInvalidArgument;
}

QString unknownErrorText(int number)
{
    return QStringLiteral("エラーNo.") + QString::number(number) +
           QStringLiteral("　未知のエラーが発生しました");
}

void reportUnknownError(QWidget* parent, const std::exception_ptr& failure)
{
    Dialogs::instance().message(parent, unknownErrorText(errorNumber(failure)),
                                Dialogs::Buttons::Ok, Dialogs::Icon::None);
}

}  // namespace masumemo::platform
