#pragma once

#include <QString>

#include <optional>

namespace rawen {

class OknoPostepu;

// At start-up, a data root whose FIRMA.DB is a table of the previous generation: the user is
// told what was found and asked whether to convert it into a new folder beside it
// (KatalogPrzeksztalcenia), which the conversion of rawen --importuj then builds with the progress
// window; a root converted before is offered to start on. Returns the folder to start on, or
// nothing to go on in `katalog` as it is. Nothing of `katalog` is changed either way.
std::optional<QString> PrzeksztalcenieStartowe(const QString &katalog, OknoPostepu *postep);

} // namespace rawen
