#include "product_device.h"

#include "table_device.h"

namespace vantor::test {

ProductDevice::ProductDevice() {
  fields = {
      {"Numero", "numero do produto", "", 0, 499, 0},
      {"Peso", "peso nominal", "*g", 1, 60000, 500},
      {"TolNeg", "tolerancia abaixo", "g", 0, 1000, 5},
      {"Tara", "tara fixa", "g", 0, 10000, 0},
      {"Codigo", "codigo do produto", "*", 0, 0, 0},
      {"Descricao", "descricao do produto", "", 0, 0, 0},
  };
  products = {
      {{"P001", "Arroz 1 kg"}, {1000, 10, 25}},
      {{"P002", "Feijao 500 g"}, {500, 5, 20}},
      {{"P003", "Acucar 2 kg"}, {2000, 20, 30}},
  };
}

Bytes ProductDevice::structure() const {
  Bytes p;
  putText(p, title, 30);
  p.push_back(0);
  p.push_back(static_cast<uint8_t>(capacity));
  p.push_back(static_cast<uint8_t>(capacity >> 8));
  p.push_back(static_cast<uint8_t>(widths.size()));
  for (uint8_t w : widths) p.push_back(w);
  p.push_back(intCount);
  return p;
}

Bytes ProductDevice::descriptor(size_t f) const {
  const FakeField field = f < fields.size() ? fields[f] : FakeField{"", "", "", 0, 0, 0};
  Bytes p;
  putText(p, field.name, nameWidth);
  putText(p, field.help, helpWidth);
  putText(p, field.unit, 3);
  putLe32(p, field.min);
  putLe32(p, field.max);
  putLe32(p, field.def);
  return p;
}

Bytes ProductDevice::record(size_t n) const {
  const FakeProduct product = n < products.size() ? products[n] : FakeProduct{};
  Bytes p;
  for (size_t f = 0; f < widths.size(); ++f)
    putText(p, f < product.texts.size() ? product.texts[f] : "", widths[f]);
  for (size_t k = 1; k < intCount; ++k)
    putLe32(p, k - 1 < product.ints.size() ? product.ints[k - 1] : 0);
  return p;
}

Bytes ProductDevice::count() const {
  const size_t n = announcedCount < 0 ? products.size() : static_cast<size_t>(announcedCount);
  return Bytes{static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), 0, 0};
}

void ProductDevice::serve(FakeSocket& lan2, size_t limit) {
  for (size_t answered = 0; answered < limit && !lan2.writes.empty(); ++answered) {
    const Bytes request = lan2.takeWrite();
    const int code = request.at(7);
    const Bytes params(request.begin() + 8, request.end() - 3);
    requests.emplace_back(code, params);
    Bytes payload;
    if (code == 62) payload = {nameWidth, helpWidth, 0, 0};
    if (code == 64) payload = Bytes(nameWidth + helpWidth + 19u, 0);
    if (code == 61) payload = structure();
    if (code == 60) payload = descriptor(params.at(1));
    if (code == 50) {
      const size_t n = params.at(0) | params.at(1) << 8;
      payload = n == 500 ? count() : record(n);
    }
    if (code == 31) {
      const size_t n = params.at(0) | params.at(1) << 8;
      FakeProduct product;
      size_t at = 2;
      for (uint8_t w : widths) {
        std::string text;
        for (size_t i = 0; i < w && at + i < params.size() && params[at + i] != 0; ++i)
          text.push_back(static_cast<char>(params[at + i]));
        product.texts.push_back(text);
        at += w;
      }
      for (size_t k = 1; k < intCount && at + 3 < params.size(); ++k, at += 4)
        product.ints.push_back(static_cast<uint32_t>(params[at] | params[at + 1] << 8 |
                                                     params[at + 2] << 16 |
                                                     static_cast<uint32_t>(params[at + 3]) << 24));
      if (n >= products.size()) products.resize(n + 1);
      products[n] = product;
      payload = Bytes(4, 0);
    }
    lan2.receive(replyFrame(code, payload));
  }
}

std::vector<int> ProductDevice::numbers(int code) const {
  std::vector<int> out;
  for (const auto& [c, params] : requests) {
    if (c != code) continue;
    out.push_back(code == 60 ? params.at(1) : params.at(0) | params.at(1) << 8);
  }
  return out;
}

std::vector<int> ProductDevice::productCodes() const {
  std::vector<int> out;
  for (const auto& r : requests)
    if (r.first == 62 || r.first == 61 || r.first == 60 || r.first == 50 || r.first == 31)
      out.push_back(r.first);
  return out;
}

}  // namespace vantor::test
