#include "products.h"

#include <cstdio>

#include "le_bytes.h"
#include "param_tables.h"

namespace rwsim {

namespace {

template <typename... Args>
std::string text(const char* format, Args... args) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

const char* const kGoods[] = {"Arroz", "Feijao",   "Acucar", "Cafe", "Farinha",
                              "Milho", "Lentilha", "Aveia",  "Sal",  "Macarrao"};

}  // namespace

SimProducts SimProducts::standard(std::size_t count) {
  SimProducts p;
  p.title = "Produtos da linha 1";
  p.textWidths = {21, 41, 13};
  p.fields = {
      {"Numero", "Numero do produto", "", 0, 499, 0},
      {"PesoNom", "Peso nominal da embalagem", "*g", 1, 60000, 500},
      {"TolNeg", "Tolerancia abaixo do nominal", "g", 0, 5000, 5},
      {"TolPos", "Tolerancia acima do nominal", "g", 0, 5000, 10},
      {"Tara", "Tara da embalagem", "g", 0, 10000, 0},
      {"Etiqueta", "Numero do modelo de etiqueta", "", 0, 99, 1},
      {"Validade", "Dias de validade impressos", "d", 0, 3650, 180},
      {"Ritmo", "Embalagens por minuto", "ppm", 1, 300, 60},
      {"Codigo", "Codigo do artigo", "*", 0, 0, 0},
      {"Descricao", "Descricao impressa na etiqueta", "", 0, 0, 0},
      {"Lote", "Lote em producao", "", 0, 0, 0},
  };
  const std::size_t n = count < kMaxProducts ? count : kMaxProducts;
  for (std::size_t i = 0; i < n; ++i) {
    const int weight = static_cast<int>(250 * (1 + i % 8));
    const char* good = kGoods[i % 10];
    p.products.push_back(
        {{text("%s-%04zu", good, i), text("%s tipo %zu, %d g", good, 1 + i / 10, weight),
          text("L26%02zu", i % 100)},
         {weight, 2 + static_cast<int>(i % 5), 5 + static_cast<int>(i % 7),
          static_cast<int>(10 + i % 30), static_cast<int>(1 + i % 4),
          90 + static_cast<int>(i % 200), 40 + static_cast<int>(i % 60)}});
  }
  return p;
}

void SimProducts::install(SimDevice& device) {
  device.setHandler(kCmdProductStructure, [this](const Frame&) { return structure(); });
  device.setHandler(kCmdProductField, [this, &device](const Frame& r) {
    return field(r, device.parTables().nameWidth, device.parTables().helpWidth);
  });
  device.setHandler(kCmdProduct, [this](const Frame& r) { return product(r); });
  device.setHandler(kCmdWriteProduct, [this](const Frame& r) { return writeProduct(r); });
}

Answer SimProducts::structure() const {
  Answer a;
  appendText(a.payload, title, 30);
  a.payload.push_back(0);
  appendLe16(a.payload, capacity);
  a.payload.push_back(static_cast<std::uint8_t>(textWidths.size()));
  a.payload.insert(a.payload.end(), textWidths.begin(), textWidths.end());
  a.payload.push_back(intCount());
  return a;
}

Answer SimProducts::field(const Frame& request, std::size_t nameWidth,
                          std::size_t helpWidth) const {
  const std::size_t f = request.params.size() >= 2 ? request.params[1] : fields.size();
  const SimField d = f < fields.size() ? fields[f] : SimField{};
  Answer a;
  appendText(a.payload, d.name, nameWidth);
  appendText(a.payload, d.help, helpWidth);
  appendText(a.payload, d.unit, 3);
  appendLe32(a.payload, d.min);
  appendLe32(a.payload, d.max);
  appendLe32(a.payload, d.def);
  return a;
}

std::size_t SimProducts::recordSize() const {
  std::size_t size = 0;
  for (std::uint8_t w : textWidths) size += w;
  return size + 4 * (intCount() - 1u);
}

Bytes SimProducts::encode(const SimProduct& product) const {
  Bytes out;
  for (std::size_t f = 0; f < textWidths.size(); ++f) {
    const std::string t = f < product.texts.size() ? product.texts[f] : std::string();
    // The last byte of a field is always its terminating zero.
    appendText(out, t.substr(0, textWidths[f] - 1u), textWidths[f]);
  }
  for (std::size_t k = 1; k < intCount(); ++k)
    appendLe32(out, static_cast<std::uint32_t>(
                        k - 1 < product.numbers.size() ? product.numbers[k - 1] : 0));
  return out;
}

Answer SimProducts::product(const Frame& request) const {
  if (request.params.size() != 2) return Answer{kNak, {}};
  const std::size_t n = request.params[0] | request.params[1] << 8;
  Answer a;
  if (n == kCountRequest) {
    appendLe16(a.payload, static_cast<std::uint16_t>(products.size()));
    appendLe16(a.payload, 0);
    return a;
  }
  if (n >= capacity) return Answer{kNak, {}};
  a.payload = n < products.size() ? encode(products[n]) : Bytes(recordSize(), 0);
  return a;
}

Answer SimProducts::writeProduct(const Frame& request) {
  const Bytes& p = request.params;
  if (p.size() != 2 + recordSize()) return Answer{kNak, {}};
  const std::size_t n = p[0] | p[1] << 8;
  if (n > products.size() || n >= capacity) return Answer{kNak, {}};
  SimProduct product;
  std::size_t at = 2;
  for (std::uint8_t w : textWidths) {
    std::string t;
    for (std::size_t i = 0; i < w && p[at + i] != 0; ++i) t.push_back(static_cast<char>(p[at + i]));
    product.texts.push_back(t);
    at += w;
  }
  for (std::size_t k = 1; k < intCount(); ++k, at += 4)
    product.numbers.push_back(static_cast<std::int32_t>(readLe32(p, at)));
  if (n == products.size())
    products.push_back(product);
  else
    products[n] = product;
  Answer a;
  appendLe32(a.payload, 0);
  return a;
}

}  // namespace rwsim
