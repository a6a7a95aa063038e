#include "chardata/result.h"

namespace rf::chardata {

std::string ResultText;
std::int32_t ResultKind = 0;

}  // namespace rf::chardata
