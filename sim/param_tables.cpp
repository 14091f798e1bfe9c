#include "param_tables.h"

#include <cstdio>

#include "le_bytes.h"

namespace rwsim {

namespace {

constexpr std::uint32_t kAllBits = 0xFFFFFFFFu;

// printf-style text of a generated name or help line.
template <typename... Args>
std::string text(const char* format, Args... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

SimTable weighing() {
  return {"Pesagem",
          0,
          {{"PesoAlvo", "Peso nominal da embalagem", "g", 1, 50000, 500, 500},
           {"TolerNeg", "Tolerancia abaixo do alvo", "g", 0, 1000, 5, 8},
           {"TolerPos", "Tolerancia acima do alvo", "g", 0, 1000, 10, 12},
           {"TaraFixa", "Tara fixa descontada de cada pesagem", "g", 0, 10000, 0, 25},
           {"FiltroSW", "Nivel do filtro de software", "", 0, 9, 3, 4},
           {"Amostras", "Amostras tomadas para a media", "", 1, 64, 16, 16},
           {"AtrasoPes", "Atraso entre o sensor e a pesagem", "ms", 0, 5000, 120, 150},
           {"JanelaPes", "Janela de pesagem", "ms", 10, 5000, 300, 280},
           {"ZeroAuto", "Procura de zero automatica ligada", "", 0, 1, 1, 1},
           {"FaixaZero", "Faixa aceita pela procura de zero", "g", 0, 200, 20, 20},
           {"Divisao", "Divisao da escala", "g", 1, 50, 1, 1},
           {"Capacidade", "Capacidade maxima da balanca", "g", 100, 60000, 6000, 6000}}};
}

SimTable rejection() {
  return {"Rejeito",
          1,
          {{"ModoRej", "0 desligado, 1 fora da tolerancia, 2 sem etiqueta", "", 0, 2, 1, 1},
           {"TempoRej", "Tempo de acionamento do rejeito", "ms", 10, 2000, 200, 220},
           {"AtrasoRej", "Atraso entre a pesagem e o rejeito", "ms", 0, 10000, 800, 750},
           {"Confirma", "Sensor de confirmacao do rejeito", "", 0, 1, 0, 1},
           {"MaxSeguidos", "Rejeitos seguidos ate parar a linha", "", 1, 99, 5, 5},
           {"AlarmeRej", "Saida de alarme do rejeito", "", 0, 3, 0, 2},
           {"SopradorON", "Rejeito por sopro", "", 0, 1, 0, 0},
           {"TempoSopro", "Duracao do sopro", "ms", 5, 500, 40, 40}}};
}

SimTable labeller() {
  return {"Etiquetadora",
          2,
          {{"EtqModo", "0 desligada, 1 aplicador, 2 impressora", "", 0, 2, 1, 1},
           {"EtqAtraso", "Atraso do aplicador", "ms", 0, 5000, 250, 260},
           {"EtqTempo", "Tempo do aplicador acionado", "ms", 10, 1000, 60, 60},
           {"EtqVelo", "Velocidade da esteira", "mm", 100, 3000, 1200, 1250},
           {"EtqCopias", "Copias por embalagem", "", 1, 5, 1, 1},
           {"EtqFalha", "Falhas seguidas ate o alarme", "", 1, 20, 3, 3},
           {"EtqSensor", "Sensor de etiqueta", "", 0, 1, 1, 1},
           {"EtqOffset", "Deslocamento da etiqueta", "mm", 0, 200, 15, 18},
           {"EtqLote", "Etiqueta de lote ligada", "", 0, 1, 0, 1},
           {"EtqPausa", "Pausa apos troca de rolo", "s", 0, 60, 5, 5}}};
}

SimTable communication() {
  return {"Comunicacao",
          1,
          {{"EndRede", "Endereco do equipamento na rede", "", 1, 247, 1, 4},
           {"TimeOutHost", "Tempo sem resposta do integrador", "ms", 100, 60000, 3000, 3000},
           {"Retentativas", "Retentativas antes da falha", "", 0, 10, 3, 3},
           {"EcoSerial", "Eco da serial no console", "", 0, 1, 0, 0},
           {"PortaWeb", "Porta do servidor web", "", 1, 65535, 80, 8080},
           {"KeepAlive", "Intervalo do keep alive", "s", 0, 3600, 30, 30}}};
}

// The edges of the 32-bit values: a value and a maximum of 4294967295, a value
// above 2147483647 and a parameter whose only allowed value is 0.
SimTable limits() {
  return {"Limites",
          2,
          {{"Contador", "Contador de embalagens desde a instalacao", "", 0, kAllBits, 0, kAllBits},
           {"Deslocamento", "Deslocamento do zero em complemento de dois", "", 0, kAllBits, 0,
            4294967196u},
           {"Mascara", "Mascara das saidas", "", 0, kAllBits, 0xFFFF0000u, 0xFFFF0000u},
           {"Faixa", "Valor entre cem e duzentos", "", 100, 200, 150, 150},
           {"Fixo", "Parametro reservado", "", 0, 0, 0, 0}}};
}

SimTable service() {
  SimTable t{"Servico", 3, {}};
  for (unsigned i = 0; i < 50; ++i) {
    t.parameters.push_back({text("Srv%02u", i), text("Ajuste de servico numero %u", i),
                            i % 3 ? "ms" : "", 0, 10000, 100, i * 10});
  }
  return t;
}

Answer nak() { return Answer{kNak, {}}; }

}  // namespace

SimParTables SimParTables::standard() {
  SimParTables s;
  s.accessCodes = {"oper1", "manut22", "serv333"};
  s.tables = {weighing(), rejection(), labeller(), communication(), SimTable{"Reserva", 0, {}},
              limits(),   service()};
  return s;
}

SimParTables SimParTables::full() {
  SimParTables s;
  s.nameWidth = 30;
  s.helpWidth = 200;
  s.accessCodes = {"oper1", "manut22", "serv333"};
  for (unsigned t = 0; t < 10; ++t) {
    SimTable table{text("Tabela %u", t), static_cast<std::uint8_t>(t % 4), {}};
    for (unsigned p = 0; p < 50; ++p) {
      table.parameters.push_back(
          {text("Parametro %u.%u", t, p),
           text("Texto de ajuda do parametro %u.%u%.150s", t, p, std::string(150, '.').c_str()),
           "ms", 0, 100000, 10 * p, t * 1000 + p});
    }
    s.tables.push_back(std::move(table));
  }
  return s;
}

Answer SimParTables::tableList() const {
  Answer a;
  Bytes& p = a.payload;
  p = {nameWidth, helpWidth, static_cast<std::uint8_t>(tables.size()), codeWidth};
  for (std::size_t i = 0; i < 3; ++i) {
    appendText(p, i < accessCodes.size() ? accessCodes[i] : std::string(), codeWidth);
  }
  for (const SimTable& t : tables) {
    appendText(p, t.name, kTableNameField);
    p.push_back(static_cast<std::uint8_t>(t.parameters.size()));
    p.push_back(t.level);
  }
  return a;
}

Answer SimParTables::descriptor(const Frame& request) const {
  if (request.params.size() != 2) {
    return nak();
  }
  const std::size_t t = request.params[0];
  const std::size_t r = request.params[1];
  const bool exists = t < tables.size() && r < tables[t].parameters.size();
  const SimParameter par = exists ? tables[t].parameters[r] : SimParameter{};
  Answer a;
  appendText(a.payload, par.name, nameWidth);
  appendText(a.payload, par.help, helpWidth);
  appendText(a.payload, par.unit, 3);
  for (std::uint32_t v : {par.min, par.max, par.def, par.value}) {
    appendLe32(a.payload, v);
  }
  return a;
}

Answer SimParTables::writeTable(const Frame& request) {
  if (request.params.empty() || request.params[0] >= tables.size()) {
    return nak();
  }
  SimTable& t = tables[request.params[0]];
  if (request.params.size() != 1 + 4 * t.parameters.size()) {
    return nak();
  }
  for (std::size_t r = 0; r < t.parameters.size(); ++r) {
    t.parameters[r].value = readLe32(request.params, 1 + 4 * r);
  }
  return Answer{};
}

}  // namespace rwsim
