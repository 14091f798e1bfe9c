#include "config/par_descriptor.h"

#include "link/text_format.h"

namespace vantor {

std::string fitSlot(std::string text, size_t slot) {
  if (text.size() > slot - 1) text.resize(slot - 1);
  return text;
}

ParDescriptor decodeFieldDescriptor(PayloadReader& p, size_t nameWidth, size_t helpWidth) {
  const size_t u = nameWidth + helpWidth;
  ParDescriptor d;
  d.name = fitSlot(p.text(0, nameWidth), ParDescriptor::kNameSlot);
  d.help = fitSlot(p.text(nameWidth, helpWidth), ParDescriptor::kHelpSlot);
  d.unit = p.text(u, ParDescriptor::kUnitWire);
  d.min = p.u32(u + 3);
  d.max = p.u32(u + 7);
  d.def = p.u32(u + 11);
  return d;
}

ParDescriptor decodeParDescriptor(PayloadReader& p, size_t nameWidth, size_t helpWidth) {
  ParDescriptor d = decodeFieldDescriptor(p, nameWidth, helpWidth);
  d.value = p.u32(nameWidth + helpWidth + 15);
  return d;
}

std::string rangeText(const ParDescriptor& d) {
  return format("DEF: %d %s [%d - %d]", static_cast<int32_t>(d.def), d.unit.c_str(),
                static_cast<int32_t>(d.min), static_cast<int32_t>(d.max));
}

}  // namespace vantor
