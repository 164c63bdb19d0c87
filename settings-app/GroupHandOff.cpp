#include "GroupHandOff.h"

namespace {

TGroupHandOff* g_pGroupHandOff = nullptr;

}  // namespace

void SetGroupHandOff(TGroupHandOff* handOff) {
    g_pGroupHandOff = handOff;
}

TGroupHandOff* GetGroupHandOff() {
    return g_pGroupHandOff;
}
