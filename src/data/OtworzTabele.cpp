#include "data/OtworzTabele.h"

namespace rawen {} // namespace rawen
