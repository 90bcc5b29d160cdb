#include "data/KopiujStrukture.h"

namespace rawen {} // namespace rawen
