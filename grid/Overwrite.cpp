#include "Overwrite.h"

namespace masumemo::grid {

// Not built yet: every change is rejected.
EditOutcome ProcessChange(std::u16string_view, int, std::u16string_view, int, ChangeCause, int)
{
    return {};
}

EditOutcome typeCharacter(std::u16string_view, int, char16_t, int) { return {}; }
EditOutcome deleteCharacter(std::u16string_view, int, int) { return {}; }
EditOutcome backspaceCharacter(std::u16string_view, int, int) { return {}; }
EditOutcome pasteText(std::u16string_view, int, std::u16string_view, int) { return {}; }

}  // namespace masumemo::grid
