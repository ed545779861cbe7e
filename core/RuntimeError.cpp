#include "core/RuntimeError.h"

namespace morvex {

std::string errorDescription(ErrorNumber errorNumber) {
    switch (errorNumber) {
    case Overflow:
        return "オーバーフローしました。";
    case DivisionByZero:
        return "0 で除算しました。";
    case TypeMismatch:
        return "型が一致しません。";
    }
    return "アプリケーション定義またはオブジェクト定義のエラーです。";
}

RuntimeError::RuntimeError(ErrorNumber errorNumber)
    : number(errorNumber), description(errorDescription(errorNumber)) {}

} // namespace morvex
