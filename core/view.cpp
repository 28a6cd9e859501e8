#include "core/view.h"

#include <iterator>

namespace tolvaro {

std::string ControlName(Control control) {
#define TOLVARO_CONTROL_NAME(name) #name,
    static constexpr const char* kNames[] = {TOLVARO_CONTROLS(TOLVARO_CONTROL_NAME)};
#undef TOLVARO_CONTROL_NAME
    static_assert(std::size(kNames) == static_cast<std::size_t>(Control::Count));
    const int index = static_cast<int>(control);
    if (index < 0 || index >= static_cast<int>(Control::Count)) return {};
    return kNames[index];
}

}  // namespace tolvaro
