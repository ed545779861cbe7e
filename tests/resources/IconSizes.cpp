#include "IconSizes.h"

namespace morvex::test {

const std::array<int, 7> IconSizes = {16, 24, 32, 48, 64, 128, 256};

} // namespace morvex::test
