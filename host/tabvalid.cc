#include "host/tabvalid.h"

#include <fmt/format.h>

#include "host/quendra.h"
#include "host/text.h"
#include "host/ui/errors.h"

namespace Tabvalid {

namespace {

// The picture without its save and blank settings, as the operator knows it ("9.99.999").
std::string shownPicture(const std::string& mask) {
  return mask.substr(0, mask.find(';'));
}

bool refuse(bool raise, const std::string& message) {
  if (raise)
    throw ui::UiError(message);
  return false;
}

}  // namespace

bool ValidEx(db::DataSource* source, int pictureKind, std::string& code, TValidOptions options,
             const std::string& keyField, bool raise) {
  const Quendra::TPictureObject picture = Quendra::DBPictObj(pictureKind);
  const std::string typed(host::trimBlanks(code));
  if (typed.empty())
    return refuse(raise, "O código deve ser informado.");
  const auto normalized = picture.normalize(typed);
  if (!normalized) {
    return refuse(raise, fmt::format("O código '{}' não confere com a máscara {}.", typed,
                                     shownPicture(picture.mask())));
  }
  if ((options & voNivelCompleto) != 0 && picture.levelOf(*normalized) != picture.levels()) {
    return refuse(raise, fmt::format("O código '{}' deve ser informado até o último nível ({}).",
                                     *normalized, shownPicture(picture.mask())));
  }
  if ((options & voExiste) != 0) {
    db::DataSet* list = source != nullptr ? source->dataSet() : nullptr;
    if (list == nullptr || !list->active())
      return refuse(raise, "Não há lista aberta para validar o código.");
    const std::string field = keyField.empty() ? "CDARVPROD" : keyField;
    if (!list->locate(field, {packet::Value(*normalized)}))
      return refuse(raise, fmt::format("O código '{}' não foi encontrado.", *normalized));
  }
  code = *normalized;
  return true;
}

}  // namespace Tabvalid
