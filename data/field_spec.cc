#include "data/field_spec.h"

namespace data {

void defineFields(db::DataSet& dataSet, const std::vector<FieldSpec>& specs) {
  for (const auto& spec : specs) {
    db::Field& field = dataSet.addField(spec.name, spec.type, spec.size);
    if (!spec.label.empty())
      field.setDisplayLabel(spec.label);
    if (!spec.displayFormat.empty())
      field.setDisplayFormat(spec.displayFormat);
    if (!spec.editFormat.empty())
      field.setEditFormat(spec.editFormat);
    if (!spec.mask.empty())
      field.setEditMask(spec.mask);
    if (spec.hidden)
      field.setVisible(false);
    field.setRequired(spec.required);
    if (spec.displayWidth != 0)
      field.setDisplayWidth(spec.displayWidth);
    if (!spec.origin.empty())
      field.setOrigin(spec.origin);
  }
}

std::vector<FieldSpec> dayFamily(const std::string& prefix, const std::string& suffix,
                                 const FieldSpec& model, const std::vector<std::string>& labels) {
  std::vector<FieldSpec> specs;
  for (std::size_t day = 0; day < kDias.size(); ++day) {
    FieldSpec spec = model;
    spec.name = prefix + kDias[day] + suffix;
    if (day < labels.size())
      spec.label = labels[day];
    specs.push_back(std::move(spec));
  }
  return specs;
}

std::vector<FieldSpec> join(std::initializer_list<std::vector<FieldSpec>> parts) {
  std::vector<FieldSpec> all;
  for (const auto& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace data
