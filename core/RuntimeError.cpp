#include "core/RuntimeError.h"

namespace morvex {

std::string errorDescription(int errorNumber) {
    switch (errorNumber) {
    case Overflow:
        return "オーバーフローしました。";
    case DivisionByZero:
        return "0 で除算しました。";
    case TypeMismatch:
        return "型が一致しません。";
    default:
        return "アプリケーション定義またはオブジェクト定義のエラーです。";
    }
}

RuntimeError::RuntimeError(int errorNumber)
    : number(errorNumber), description(errorDescription(errorNumber)) {}

} // namespace morvex
