#include "data/TabelaFirmy.h"

namespace rawen {} // namespace rawen
