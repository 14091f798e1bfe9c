#include "config/config_block.h"

namespace vantor {

namespace {

constexpr const char* kSysRows[] = {"Lingua",
                                    "procura_zero",
                                    "menor_peso",
                                    "FiltroSW",
                                    "TimeOutCalc",
                                    "Scala",
                                    "QtdPesoMedia",
                                    "instante_pesagem",
                                    "delta",
                                    "ModeRej",
                                    "TimerSensorRej",
                                    "tempo_acionamento",
                                    "tempo_acionado",
                                    "Aplicador",
                                    "etiquetador_atraso",
                                    "etiquetador_acionado",
                                    "PesagemEstatica",
                                    "TimerStopEstera",
                                    "TimerRetartEstera",
                                    "alg_pesagem",
                                    "fator_correcao",
                                    "fator_correcao",
                                    "fator_correcao",
                                    "fator_correcao",
                                    "fator_correcao",
                                    "Time_correcao",
                                    "Time_correcao",
                                    "Time_correcao",
                                    "aponta_acima_peso",
                                    "tipo_rejeito"};
constexpr const char* kAd104Rows[] = {"ParamPesoCal", "ASF", "rsnQX", "ICR",  "OverWgt",
                                      "Debug",        "FMD", "HSM",   "rsnB", "Offset"};
constexpr const char* kZeroRows[] = {"Delta",        "ValidFaixa",  "QtdPesoMedia",
                                     "MagnitudeDiv", "StepInvilup", "GapInvilup"};
constexpr const char* kCommRows[] = {"HBMPort",
                                     "BarCodePorts0",
                                     "BarCodePorts1",
                                     "BarCodeBauds0",
                                     "BarCodeBauds1",
                                     "BarCodeChFimPacotes0",
                                     "BarCodeChFimPacotes1",
                                     "PrintBaud",
                                     "PrintChFimPacote",
                                     "PrintOn",
                                     "PrintMode",
                                     "BarReadON"};
constexpr const char* kProdRows[] = {
    "ServerON", "DayLoProdDate", "DayHiProdDate", "SerialGen", "TimeResetFila", "MaxFila",
    "DirCode",  "LenCodeProd",   "IniCodeProd",   "LenSerNum", "IniSerNum",     "LenSSCC",
    "IniSSCC",  "IniDataProd",   "LenBC",         "TestBCC",   "DataRend",      "TerminalID"};
constexpr const char* kSorterRows[] = {"Aux2_3_ON",       "AcionamentoAux0", "AcionamentoAux1",
                                       "AcionamentoAux2", "AcionadoAux0",    "AcionadoAux1",
                                       "AcionadoAux2"};

// In BlockId order. ZeroBlock has two values more than rows: they travel
// along unchanged from the last read or file load.
const BlockLayout kLayouts[] = {
    {BlockId::Sys, "SysBlock", "SysPar", "GetSys", "SetSys", 52, 11, 30, kSysRows},
    {BlockId::Ad104, "Ad104Block", "Ad104Par", "GetHBM", "SetHBM", 16, 15, 10, kAd104Rows},
    {BlockId::Zero, "ZeroBlock", "ZeroPar", "GetZero", "SetZero", 36, 37, 8, kZeroRows},
    {BlockId::Comm, "CommBlock", "CommPar", "GetComm", "SetComm", 22, 23, 12, kCommRows},
    {BlockId::ProdPar, "ProdParBlock", "ProdPar", "GetProd", "SetProd", 24, 25, 18, kProdRows},
    {BlockId::Sorter, "SorterBlock", "SorterPar", "GetSorter", "SetSorter", 45, 46, 7, kSorterRows},
};
static_assert(std::size(kLayouts) == kBlockCount);

}  // namespace

std::span<const BlockLayout> blockLayouts() { return kLayouts; }

const BlockLayout& blockLayout(BlockId id) { return kLayouts[index(id)]; }

const BlockLayout* blockByReadCode(int code) {
  for (const BlockLayout& s : kLayouts)
    if (s.readCode == code) return &s;
  return nullptr;
}

const BlockLayout* blockByWriteCode(int code) {
  for (const BlockLayout& s : kLayouts)
    if (s.writeCode == code) return &s;
  return nullptr;
}

BlockValues zeroedBlocks() {
  BlockValues v;
  for (const BlockLayout& s : kLayouts) v[index(s.id)].assign(s.values, 0);
  return v;
}

}  // namespace vantor
