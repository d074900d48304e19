#include "program_model/catalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "program_model/device_traits.h"
#include "program_model/element_kinds.h"

namespace quarn::program_model {
namespace {

// The controller's instruction set written out once more, entry by entry: mnemonic, API number,
// group and the kinds each slot accepts ("bare" is the number of a label line).
struct ExpectedEntry {
  int index;
  const char* mnemonic;
  std::uint16_t api;
  int group;
  std::array<const char*, 4> slots;
};

constexpr ExpectedEntry kExpected[] = {
    {0, "Unknown", 0x0000, 12, {}},
    {1, "LD", 0x4061, 0, {"X Y M T C"}},
    {2, "LDI", 0x4001, 0, {"X Y M T C"}},
    {3, "AND", 0x4065, 0, {"X Y M T C"}},
    {4, "ANI", 0x4005, 0, {"X Y M T C"}},
    {5, "OR", 0x4066, 0, {"X Y M T C"}},
    {6, "ORI", 0x4046, 0, {"X Y M T C"}},
    {7, "LDP", 0x4821, 0, {"X Y M T C"}},
    {8, "LDF", 0x4841, 0, {"X Y M T C"}},
    {9, "ANDP", 0x4825, 0, {"X Y M T C"}},
    {10, "ANDF", 0x4845, 0, {"X Y M T C"}},
    {11, "ORP", 0x4806, 0, {"X Y M T C"}},
    {12, "ORF", 0x4826, 0, {"X Y M T C"}},
    {13, "TMR", 0x2014, 0, {"T", "K H T C A B D"}},
    {14, "CNT", 0x2015, 0, {"C", "K H T C A B D"}},
    {15, "DCNT", 0x3015, 0, {"C", "K H T C A B D"}},
    {16, "INV", 0x4016, 0, {}},
    {17, "ANB", 0x4007, 0, {}},
    {18, "ORB", 0x4008, 0, {}},
    {19, "MPS", 0x4009, 0, {}},
    {20, "MRD", 0x402a, 0, {}},
    {21, "MPP", 0x400a, 0, {}},
    {22, "SET", 0x2024, 0, {"Y M"}},
    {23, "RST", 0x2004, 0, {"Y M T C A B D"}},
    {24, "OUT", 0x2002, 0, {"Y M"}},
    {25, "CJ", 0x200d, 1, {"P"}},
    {26, "CJP", 0x280d, 1, {"P"}},
    {27, "CALL", 0x200e, 1, {"P"}},
    {28, "CALLP", 0x280e, 1, {"P"}},
    {29, "SRET", 0x600f, 1, {}},
    {30, "IRET", 0x6010, 2, {}},
    {31, "EI", 0x8012, 2, {}},
    {32, "DI", 0x8013, 2, {}},
    {33, "FEND", 0x6003, 0, {}},
    {34, "FOR", 0x400b, 1, {"K H T C A B D"}},
    {35, "NEXT", 0x400c, 1, {}},
    {36, "NOP", 0x8011, 0, {}},
    {37, "P", 0x6051, 0, {"bare"}},
    {38, "I", 0x6031, 0, {"bare"}},
    {39, "END", 0x6023, 0, {}},
    {40, "CMP", 0x2201, 3, {"K H T C A B D", "K H T C A B D", "Y M"}},
    {41, "CMPP", 0x2a01, 3, {"K H T C A B D", "K H T C A B D", "Y M"}},
    {42, "DCMP", 0x3201, 3, {"K H T C A B D", "K H T C A B D", "Y M"}},
    {43, "DCMPP", 0x3a01, 3, {"K H T C A B D", "K H T C A B D", "Y M"}},
    {44, "ZCP", 0x2202, 3, {"K H T C A B D", "K H T C A B D", "K H T C A B D", "Y M"}},
    {45, "ZCPP", 0x2a02, 3, {"K H T C A B D", "K H T C A B D", "K H T C A B D", "Y M"}},
    {46, "DZCP", 0x3202, 3, {"K H T C A B D", "K H T C A B D", "K H T C A B D", "Y M"}},
    {47, "DZCPP", 0x3a02, 3, {"K H T C A B D", "K H T C A B D", "K H T C A B D", "Y M"}},
    {48, "MOV", 0x2018, 3, {"K H F X Y M T C A B D", "Y M T C A B D"}},
    {49, "MOVP", 0x2818, 3, {"K H F X Y M T C A B D", "Y M T C A B D"}},
    {50, "DMOV", 0x3018, 3, {"K H F X Y M T C A B D", "Y M T C A B D"}},
    {51, "DMOVP", 0x3818, 3, {"K H F X Y M T C A B D", "Y M T C A B D"}},
    {52, "BMOV", 0x2038, 3, {"K H F X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {53, "BMOVP", 0x2838, 3, {"K H F X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {54, "DBMOV", 0x3038, 3, {"K H F X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {55, "DBMOVP", 0x3838, 3, {"K H F X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {56, "FMOV", 0x2058, 3, {"K H F X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {57, "FMOVP", 0x2858, 3, {"K H F X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {58, "DFMOV", 0x3058, 3, {"K H F X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {59, "DFMOVP", 0x3858, 3, {"K H F X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {60, "XCH", 0x220a, 3, {"T C A B D", "T C A B D"}},
    {61, "XCHP", 0x2a0a, 3, {"T C A B D", "T C A B D"}},
    {62, "DXCH", 0x320a, 3, {"T C A B D", "T C A B D"}},
    {63, "DXCHP", 0x3a0a, 3, {"T C A B D", "T C A B D"}},
    {64, "ADD", 0x2208, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {65, "ADDP", 0x2a08, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {66, "DADD", 0x3208, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {67, "DADDP", 0x3a08, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {68, "SUB", 0x2228, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {69, "SUBP", 0x2a28, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {70, "DSUB", 0x3228, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {71, "DSUBP", 0x3a28, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {72, "MUL", 0x2248, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {73, "MULP", 0x2a48, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {74, "DMUL", 0x3248, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {75, "DMULP", 0x3a48, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {76, "DIV", 0x2268, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {77, "DIVP", 0x2a68, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {78, "DDIV", 0x3268, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {79, "DDIVP", 0x3a68, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {80, "INC", 0x2037, 4, {"T C A B D"}},
    {81, "INCP", 0x2837, 4, {"T C A B D"}},
    {82, "DINC", 0x3037, 4, {"T C A B D"}},
    {83, "DINCP", 0x3837, 4, {"T C A B D"}},
    {84, "DEC", 0x2017, 4, {"T C A B D"}},
    {85, "DECP", 0x2817, 4, {"T C A B D"}},
    {86, "DDEC", 0x3017, 4, {"T C A B D"}},
    {87, "DDECP", 0x3817, 4, {"T C A B D"}},
    {88, "WAND", 0x2288, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {89, "WANDP", 0x2a88, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {90, "DAND", 0x3288, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {91, "DANDP", 0x3a88, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {92, "WOR", 0x22a8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {93, "WORP", 0x2aa8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {94, "DOR", 0x32a8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {95, "DORP", 0x3aa8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {96, "WXOR", 0x22c8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {97, "WXORP", 0x2ac8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {98, "DXOR", 0x32c8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {99, "DXORP", 0x3ac8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {100, "NEG", 0x2209, 4, {"T C A B D"}},
    {101, "NEGP", 0x2a09, 4, {"T C A B D"}},
    {102, "DNEG", 0x3209, 4, {"T C A B D"}},
    {103, "DNEGP", 0x3a09, 4, {"T C A B D"}},
    {104, "ABS", 0x2229, 4, {"T C A B D"}},
    {105, "ABSP", 0x2a29, 4, {"T C A B D"}},
    {106, "DABS", 0x3229, 4, {"T C A B D"}},
    {107, "DABSP", 0x3a29, 4, {"T C A B D"}},
    {108, "ROR", 0x220b, 5, {"T C A B D", "K H T C A B D"}},
    {109, "RORP", 0x2a0b, 5, {"T C A B D", "K H T C A B D"}},
    {110, "DROR", 0x320b, 5, {"T C A B D", "K H T C A B D"}},
    {111, "DRORP", 0x3a0b, 5, {"T C A B D", "K H T C A B D"}},
    {112, "ROL", 0x222b, 5, {"T C A B D", "K H T C A B D"}},
    {113, "ROLP", 0x2a2b, 5, {"T C A B D", "K H T C A B D"}},
    {114, "DROL", 0x322b, 5, {"T C A B D", "K H T C A B D"}},
    {115, "DROLP", 0x3a2b, 5, {"T C A B D", "K H T C A B D"}},
    {116, "ZRST", 0x2203, 6, {"Y M T C A B D", "Y M T C A B D"}},
    {117, "ZRSTP", 0x2a03, 6, {"Y M T C A B D", "Y M T C A B D"}},
    {118, "DECO", 0x2211, 6, {"K H X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {119, "DECOP", 0x2a11, 6, {"K H X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {120, "ENCO", 0x2212, 6, {"K H X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {121, "ENCOP", 0x2a12, 6, {"K H X Y M T C A B D", "Y M T C A B D", "K H T C A B D"}},
    {122, "SUM", 0x2213, 6, {"K H T C A B D", "T C A B D"}},
    {123, "SUMP", 0x2a13, 6, {"K H T C A B D", "T C A B D"}},
    {124, "DSUM", 0x3213, 6, {"K H T C A B D", "T C A B D"}},
    {125, "DSUMP", 0x3a13, 6, {"K H T C A B D", "T C A B D"}},
    {126, "BON", 0x2214, 6, {"K H T C A B D", "Y M", "K H T C A B D"}},
    {127, "BONP", 0x2a14, 6, {"K H T C A B D", "Y M", "K H T C A B D"}},
    {128, "DBON", 0x3214, 6, {"K H T C A B D", "Y M", "K H T C A B D"}},
    {129, "DBONP", 0x3a14, 6, {"K H T C A B D", "Y M", "K H T C A B D"}},
    {130, "SQR", 0x2215, 4, {"K H T C A B D", "D"}},
    {131, "SQRP", 0x2a15, 4, {"K H T C A B D", "D"}},
    {132, "DSQR", 0x3215, 4, {"K H T C A B D", "D"}},
    {133, "DSQRP", 0x3a15, 4, {"K H T C A B D", "D"}},
    {134, "POW", 0x2216, 4, {"K H T C A B D", "K H T C A B D", "D"}},
    {135, "POWP", 0x2a16, 4, {"K H T C A B D", "K H T C A B D", "D"}},
    {136, "DPOW", 0x3216, 4, {"K H T C A B D", "K H T C A B D", "D"}},
    {137, "DPOWP", 0x3a16, 4, {"K H T C A B D", "K H T C A B D", "D"}},
    {138, "FLT", 0x220c, 7, {"K H T C A B D", "D"}},
    {139, "FLTP", 0x2a0c, 7, {"K H T C A B D", "D"}},
    {140, "DFLT", 0x320c, 7, {"K H T C A B D", "D"}},
    {141, "DFLTP", 0x3a0c, 7, {"K H T C A B D", "D"}},
    {142, "PWM", 0x220e, 8, {"K H T C A B D", "K H T C A B D", "Y"}},
    {143, "DECMP", 0x220f, 7, {"K H F D", "K H F D", "Y M"}},
    {144, "DECMPP", 0x2a0f, 7, {"K H F D", "K H F D", "Y M"}},
    {145, "DEZCP", 0x2210, 7, {"K H F D", "K H F D", "K H F D", "Y M"}},
    {146, "DEZCPP", 0x2a10, 7, {"K H F D", "K H F D", "K H F D", "Y M"}},
    {147, "DEADD", 0x2217, 7, {"K H F D", "K H F D", "D"}},
    {148, "DEADDP", 0x2a17, 7, {"K H F D", "K H F D", "D"}},
    {149, "DESUB", 0x2237, 7, {"K H F D", "K H F D", "D"}},
    {150, "DESUBP", 0x2a37, 7, {"K H F D", "K H F D", "D"}},
    {151, "DEMUL", 0x2257, 7, {"K H F D", "K H F D", "D"}},
    {152, "DEMULP", 0x2a57, 7, {"K H F D", "K H F D", "D"}},
    {153, "DEDIV", 0x2277, 7, {"K H F D", "K H F D", "D"}},
    {154, "DEDIVP", 0x2a77, 7, {"K H F D", "K H F D", "D"}},
    {155, "DESQR", 0x2218, 7, {"K H F D", "D"}},
    {156, "DESQRP", 0x2a18, 7, {"K H F D", "D"}},
    {157, "DEPOW", 0x2297, 7, {"K H F D", "K H F D", "D"}},
    {158, "DEPOWP", 0x2a97, 7, {"K H F D", "K H F D", "D"}},
    {159, "INT", 0x220d, 7, {"K D", "T C A B D"}},
    {160, "INTP", 0x2a0d, 7, {"K D", "T C A B D"}},
    {161, "DINT", 0x320d, 7, {"K D", "T C A B D"}},
    {162, "DINTP", 0x3a0d, 7, {"K D", "T C A B D"}},
    {163, "TRD", 0x2219, 8, {"D"}},
    {164, "TRDP", 0x2a19, 8, {"D"}},
    {165, "TWR", 0x221a, 8, {"D"}},
    {166, "TWRP", 0x2a1a, 8, {"D"}},
    {167, "LD&", 0x4204, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {168, "DLD&", 0x5204, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {169, "LD|", 0x4224, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {170, "DLD|", 0x5224, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {171, "LD^", 0x4244, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {172, "DLD^", 0x5244, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {173, "AND&", 0x4205, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {174, "DAND&", 0x5205, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {175, "AND|", 0x4225, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {176, "DAND|", 0x5225, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {177, "AND^", 0x4245, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {178, "DAND^", 0x5245, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {179, "OR&", 0x4206, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {180, "DOR&", 0x5206, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {181, "OR|", 0x4226, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {182, "DOR|", 0x5226, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {183, "OR^", 0x4246, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {184, "DOR^", 0x5246, 9, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {185, "LD=", 0x4264, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {186, "DLD=", 0x5264, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {187, "LD>", 0x4284, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {188, "DLD>", 0x5284, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {189, "LD<", 0x42a4, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {190, "DLD<", 0x52a4, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {191, "LD<>", 0x42c4, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {192, "DLD<>", 0x52c4, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {193, "LD<=", 0x42e4, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {194, "DLD<=", 0x52e4, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {195, "LD>=", 0x4304, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {196, "DLD>=", 0x5304, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {197, "AND=", 0x4265, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {198, "DAND=", 0x5265, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {199, "AND>", 0x4285, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {200, "DAND>", 0x5285, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {201, "AND<", 0x42a5, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {202, "DAND<", 0x52a5, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {203, "AND<>", 0x42c5, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {204, "DAND<>", 0x52c5, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {205, "AND<=", 0x42e5, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {206, "DAND<=", 0x52e5, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {207, "AND>=", 0x4305, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {208, "DAND>=", 0x5305, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {209, "OR=", 0x4266, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {210, "DOR=", 0x5266, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {211, "OR>", 0x4286, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {212, "DOR>", 0x5286, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {213, "OR<", 0x42a6, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {214, "DOR<", 0x52a6, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {215, "OR<>", 0x42c6, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {216, "DOR<>", 0x52c6, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {217, "OR<=", 0x42e6, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {218, "DOR<=", 0x52e6, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {219, "OR>=", 0x4306, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {220, "DOR>=", 0x5306, 10, {"K H X Y M T C A B D", "K H X Y M T C A B D"}},
    {221, "SPIN", 0x2207, 11, {}},
    {222, "SPINP", 0x2a07, 11, {}},
    {223, "TORQUE", 0x2227, 11, {}},
    {224, "TORQUEP", 0x2a27, 11, {}},
    {225, "HSTOP", 0x2247, 11, {}},
    {226, "HSTOPP", 0x2a47, 11, {}},
    {227, "HHIZ", 0x2267, 11, {}},
    {228, "HHIZP", 0x2a67, 11, {}},
    {229, "SSTOP", 0x2287, 11, {}},
    {230, "SSTOPP", 0x2a87, 11, {}},
    {231, "SHIZ", 0x22a7, 11, {}},
    {232, "SHIZP", 0x2aa7, 11, {}},
    {233, "MOD", 0x22e8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {234, "MODP", 0x2ae8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {235, "DMOD", 0x32e8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {236, "DMODP", 0x3ae8, 4, {"K H T C A B D", "K H T C A B D", "T C A B D"}},
    {237, "DRD", 0x2239, 8, {"D"}},
    {238, "DRDP", 0x2a39, 8, {"D"}},
    {239, "DWR", 0x223a, 8, {"D"}},
    {240, "DWRP", 0x2a3a, 8, {"D"}},
};

std::string KindsOf(const TInstructionOperand& slot) {
  std::string text;
  for (const TOperand& item : slot.AllowedOperands) {
    if (!text.empty()) text += ' ';
    text += item.OperandType == OpTypeEmpty ? std::string("bare") : item.Letter;
  }
  return text;
}

TEST(Catalogue, EveryEntryMatchesTheInstructionSet) {
  const auto& catalogue = InstructionCatalogue();
  ASSERT_EQ(catalogue.size(), static_cast<std::size_t>(kCatalogueSize));
  ASSERT_EQ(std::size(kExpected), catalogue.size());
  for (const ExpectedEntry& expected : kExpected) {
    const TInstructions& entry = catalogue[static_cast<std::size_t>(expected.index)];
    SCOPED_TRACE(expected.mnemonic);
    EXPECT_EQ(entry.Mnemonic, expected.mnemonic);
    EXPECT_EQ(entry.ApiNumber, expected.api);
    EXPECT_EQ(entry.Group, expected.group);
    for (std::size_t slot = 0; slot < 4; ++slot) {
      const char* kinds = expected.slots[slot] != nullptr ? expected.slots[slot] : "";
      EXPECT_EQ(KindsOf(entry.Operands[slot]), kinds) << "slot " << slot + 1;
    }
    EXPECT_EQ(entry.Impulse, (expected.api & 0x0800) != 0);
    EXPECT_EQ(entry.Is32Bit, (expected.api & 0x1000) != 0);
    EXPECT_EQ(entry.ApiClass, expected.api >> 13);
    // The mnemonic table is the source of API number, element kind and description.
    const TInstrAPI_Name& row = MnemonicTable()[static_cast<std::size_t>(expected.index)];
    EXPECT_STREQ(row.Mnemonic, expected.mnemonic);
    EXPECT_EQ(row.ApiNumber, expected.api);
    EXPECT_EQ(entry.Description, row.Description);
    EXPECT_EQ(entry.ElementKind, row.ElementKind);
  }
}

TEST(Catalogue, MnemonicsAndApiNumbersAreUnique) {
  std::set<std::string> mnemonics;
  std::set<std::uint16_t> apis;
  for (const TInstructions& entry : InstructionCatalogue()) {
    EXPECT_TRUE(mnemonics.insert(entry.Mnemonic).second) << entry.Mnemonic;
    EXPECT_TRUE(apis.insert(entry.ApiNumber).second) << entry.Mnemonic;
  }
}

TEST(Catalogue, DescriptionsRolesAndKinds) {
  struct Case {
    const char* mnemonic;
    const char* description;
    LogicKindCode logic;
    std::uint8_t element;
  };
  const Case cases[] = {
      {"Unknown", "Unknown", LogicLoad, EkHLine},
      {"AND", "Series connection - NO contact ", LogicSeries, EkLD},
      {"ORB", "Parallel Connection - multiple circuits)", LogicBlock, EkEmpty},
      {"OUT", "Output coil", LogicCoil, EkOUT},
      {"DMOV", "Data transfer - 32-bit command", LogicApply, EkInstrStart},
      {"DMOVP", "Data transfer (impulse) - 32-bit command", LogicApply, EkInstrStart},
      {"CJP", "Jump to the specified line (impulse)", LogicApply, EkInstrStart},
      {"CALLP", "Transition to the subprogram  (impulse)", LogicApply, EkInstrStart},
      {"DECP", "Decrement  (impulse)", LogicApply, EkInstrStart},
      {"DRORP", "Rotate right (impulse) - 32-bit command", LogicApply, EkInstrStart},
      {"DEADDP", "Floating point addition  (impulse)", LogicApply, EkInstrStart},
      {"DINT", " Floating point to integer - 32-bit command", LogicApply, EkInstrStart},
      {"DLD&", "Logic contact closed if S1 & S2 \u2260 0 , 32-bit command", LogicCompareLoad,
       EkTransStart},
      {"DLD|", "Logic contact closed if S1 | S2 \u2260 0, 32-bit command", LogicCompareLoad,
       EkTransStart},
      {"DAND|", "Series logic contact closed if  S1 | S2 \u2260 0,  32-bit command",
       LogicCompareSeries, EkTransStart},
      {"OR<=", "Parallel  logic contact closed if  S1 \u2264 S2", LogicCompareParallel,
       EkTransStart},
      {"INV", "Logic inversion", LogicInvert, EkINV},
      {"NOP", "Empty line", LogicNop, EkInstrStart},
      {"P", "Pointer - line number for conditional jump or subprogram call", LogicLabel, EkLabel},
      {"SPINP", "Start motion (impulse)", LogicApply, EkInstrStart},
      {"DWRP", "Writing date data   (impulse)", LogicApply, EkInstrStart},
  };
  for (const Case& c : cases) {
    const TInstructions entry = FindInstructionByMnemonic(c.mnemonic);
    EXPECT_EQ(entry.Description, c.description) << c.mnemonic;
    EXPECT_EQ(DescriptionOfMnemonic(c.mnemonic), c.description) << c.mnemonic;
    EXPECT_EQ(entry.LogicKind, c.logic) << c.mnemonic;
    EXPECT_EQ(entry.ElementKind, c.element) << c.mnemonic;
  }
  const TInstructions zcp = FindInstructionByMnemonic("ZCP");
  EXPECT_EQ(zcp.Operands[2].Role, "S");
  EXPECT_EQ(zcp.Operands[2].RoleText, "Comparison value");
  EXPECT_EQ(FindInstructionByMnemonic("DWRP").Operands[0].RoleText, "Sourcet");
  EXPECT_EQ(FindInstructionByMnemonic("P").Operands[0].Role, "");
  EXPECT_EQ(FindInstructionByMnemonic("P").Operands[0].AllowedOperands[0].Max, 31);
  EXPECT_EQ(FindInstructionByMnemonic("I").Operands[0].AllowedOperands[0].Max, 2001);
  EXPECT_EQ(GroupTitle(0), "Basic commands");
  EXPECT_EQ(GroupTitle(11), "Stepper motor control");
  EXPECT_EQ(GroupTitle(12), "");
}

TEST(Catalogue, RebuildingGivesTheSameContent) {
  const std::vector<TInstructions> again = BuildCatalogue();
  const auto& catalogue = InstructionCatalogue();
  ASSERT_EQ(again.size(), catalogue.size());
  for (std::size_t i = 0; i < again.size(); ++i) {
    EXPECT_EQ(again[i].Mnemonic, catalogue[i].Mnemonic);
    EXPECT_EQ(again[i].Description, catalogue[i].Description);
    EXPECT_EQ(KindsOf(again[i].Operands[0]), KindsOf(catalogue[i].Operands[0]));
  }
}

// Each test runs in a process of its own, so here the first use happens on many threads at once.
TEST(Catalogue, FirstUseFromManyThreadsBuildsItOnce) {
  std::vector<const TInstructions*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    threads.emplace_back([&seen, i] { seen[i] = &CatalogueEntryByApi(0x2018); });
  }
  for (std::thread& thread : threads) thread.join();
  for (const TInstructions* entry : seen) EXPECT_EQ(entry, &InstructionCatalogue()[48]);
}

TEST(CatalogueLookups, FindByMnemonicApiAndElementKind) {
  const TInstructions mov = FindInstructionByMnemonic("MOV");
  EXPECT_EQ(mov.ApiNumber, 0x2018);
  EXPECT_EQ(&InstructionCatalogue()[48], &CatalogueEntryByMnemonic("MOV"));
  EXPECT_FALSE(mov.Is32Bit);
  EXPECT_FALSE(mov.Impulse);
  EXPECT_EQ(mov.ApiClass, 1);
  for (const char* unknown : {"mov", "", "MOV ", "XYZ"}) {
    const TInstructions entry = FindInstructionByMnemonic(unknown);
    EXPECT_EQ(entry.Mnemonic, "Unknown") << unknown;
    EXPECT_EQ(entry.ApiNumber, 0);
  }
  const TInstructions dmovp = FindInstructionByApi(0x3818);
  EXPECT_EQ(dmovp.Mnemonic, "DMOVP");
  EXPECT_TRUE(dmovp.Impulse);
  EXPECT_TRUE(dmovp.Is32Bit);
  EXPECT_EQ(FindInstructionByApi(0).Mnemonic, "Unknown");
  EXPECT_EQ(FindInstructionByApi(0x1234).Mnemonic, "Unknown");

  const std::pair<std::uint8_t, const char*> kinds[] = {
      {EkLD, "LD"},         {EkLDI, "LDI"},
      {EkOUT, "OUT"},       {EkLDF, "LDF"},
      {EkLDP, "LDP"},       {EkTransStart, "LD&"},
      {EkTransEnd, "LD&"},  {EkTransOperand2, "LD&"},
      {EkINV, "INV"},       {EkInstrStart, "Unknown"},
      {EkHLine, "Unknown"}, {200, "Unknown"},
  };
  for (const auto& [code, mnemonic] : kinds) {
    EXPECT_EQ(FindInstructionByElementKind(code).Mnemonic, mnemonic) << int{code};
  }

  EXPECT_EQ(ApiNumberOfMnemonic("DMOVP"), 0x3818);
  EXPECT_EQ(ApiNumberOfMnemonic("dmovp"), 0);
  EXPECT_EQ(ElementKindOfMnemonic("LD="), EkTransStart);
  EXPECT_EQ(ElementKindOfMnemonic("nope"), 0);
  EXPECT_EQ(DescriptionOfMnemonic("nope"), "Unknown");
}

TEST(CatalogueLookups, InstructionOfCell) {
  struct Case {
    const char* kindText;
    const char* display;
    const char* mnemonic;
  };
  const Case cases[] = {
      {"LD;", "", "LD"},
      {"LDI;", "", "LDI"},  // a later name wins over the "LD" it contains
      {"LDP;", "", "LDP"},
      {"OUT;", "", "OUT"},
      {"INV;", "", "INV"},
      {"TransStart;", "LD>=", "LD>="},
      {"InstrStart;", "DMOV", "DMOV"},
      {"InstrStart;", "nonsense", "Unknown"},
      {"HLine;", "MOV", "Unknown"},
      {"", "", "Unknown"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindInstructionOfCellText(c.kindText, c.display).Mnemonic, c.mnemonic)
        << c.kindText << " " << c.display;
  }
}

TEST(CatalogueLookups, OperandAndCellCounts) {
  struct Case {
    const char* mnemonic;
    int operands;
    int cells;
  };
  const Case cases[] = {
      {"LD", 1, 1},  {"OUT", 1, 0}, {"MOV", 2, 3}, {"INV", 0, 1}, {"LD=", 2, 3},     {"P", 1, 1},
      {"NOP", 0, 0}, {"ZCP", 4, 5}, {"END", 0, 1}, {"ANB", 0, 0}, {"Unknown", 0, 0},
  };
  for (const Case& c : cases) {
    const TInstructions entry = FindInstructionByMnemonic(c.mnemonic);
    EXPECT_EQ(OperandCount(entry), c.operands) << c.mnemonic;
    EXPECT_EQ(CellCount(entry), c.cells) << c.mnemonic;
  }
  // A coil without operands (no such entry exists) wraps round to 255.
  TInstructions coil = FindInstructionByMnemonic("OUT");
  coil.Operands[0].AllowedOperands.clear();
  EXPECT_EQ(CellCount(coil), 255);
}

TSingleOperand Op(TOperandType kind, std::int64_t value) { return {kind, value, OpTypeNull, 0}; }

TEST(OperandFitsRule, KindsRangesAndSlots) {
  struct Case {
    const char* mnemonic;
    int slot;
    TSingleOperand operand;
    bool fits;
  };
  const Case cases[] = {
      {"MOV", 1, Op(OpTypeK, -2147483647), true},
      {"MOV", 1, Op(OpTypeK, -2147483648LL), false},
      {"MOV", 1, Op(OpTypeK, 2147483647), true},
      {"MOV", 2, Op(OpTypeD, 391), true},
      {"MOV", 2, Op(OpTypeD, 392), false},
      {"MOV", 2, Op(OpTypeX, 0), false},
      {"MOV", 1, Op(OpTypeX, 127), true},
      {"MOV", 1, Op(OpTypeNull, 0), false},
      {"MOV", 0, Op(OpTypeK, 1), false},
      {"MOV", 3, Op(OpTypeK, 1), false},
      {"MOV", 5, Op(OpTypeK, 1), false},
      {"MOV", 1, Op(OpTypeH, 4294967295), true},
      {"MOV", 1, Op(OpTypeH, -1), false},
      {"CJ", 1, Op(OpTypeP, 31), true},
      {"CJ", 1, Op(OpTypeP, 32), false},
      {"P", 1, Op(OpTypeEmpty, 31), true},
      {"P", 1, Op(OpTypeEmpty, 32), false},
      {"P", 1, Op(OpTypeNull, 3), false},
      {"I", 1, Op(OpTypeEmpty, 0), true},
      {"I", 1, Op(OpTypeEmpty, 100), true},
      {"I", 1, Op(OpTypeEmpty, 1007), true},
      {"I", 1, Op(OpTypeEmpty, 2001), true},
      {"I", 1, Op(OpTypeEmpty, 101), false},
      {"I", 1, Op(OpTypeEmpty, 999), false},
      {"I", 1, Op(OpTypeEmpty, 1008), false},
      {"I", 1, Op(OpTypeEmpty, 2002), false},
      {"TMR", 1, Op(OpTypeT, 63), true},
      {"TMR", 1, Op(OpTypeT, 64), false},
      {"PWM", 3, Op(OpTypeY, 6), true},
      {"PWM", 3, Op(OpTypeM, 6), false},
      {"DEADD", 1, Op(OpTypeF, 0x3FC00000), true},
      {"ADD", 1, Op(OpTypeF, 0x3FC00000), false},
  };
  for (const Case& c : cases) {
    const std::uint16_t api = ApiNumberOfMnemonic(c.mnemonic);
    EXPECT_EQ(OperandFits(c.operand, c.slot, api), c.fits)
        << c.mnemonic << " slot " << c.slot << " value " << c.operand.Value;
  }
  // The placeholder has no slots: nothing fits it, not even an empty operand.
  EXPECT_FALSE(OperandFits(Op(OpTypeK, 1), 1, 0));
  EXPECT_FALSE(OperandFits(Op(OpTypeNull, 0), 1, 0));
  EXPECT_FALSE(OperandFits(Op(OpTypeK, 1), 1, 0x1234));
}

TEST(OperandFitsRule, RelatedEntriesShareTheirOperands) {
  const std::pair<const char*, const char*> pairs[] = {
      {"POWP", "POW"}, {"MOD", "DIV"}, {"MODP", "DIV"}, {"DMOD", "DIV"}, {"DMODP", "DIV"}};
  for (const auto& [left, right] : pairs) {
    const TInstructions a = FindInstructionByMnemonic(left);
    const TInstructions b = FindInstructionByMnemonic(right);
    for (std::size_t slot = 0; slot < 4; ++slot) {
      EXPECT_EQ(KindsOf(a.Operands[slot]), KindsOf(b.Operands[slot])) << left << " " << slot;
    }
  }
}

// A model whose only interruption label is I5..I6, to show the rule reads the selected model.
class NarrowInterruptions final : public DeviceProgramTraits {
 public:
  explicit NarrowInterruptions(std::span<const TSingleInterruption> list) : list_(list) {}
  std::span<const TSingleInterruption> Interruptions() const override { return list_; }
  std::uint16_t InterruptApi() const override { return 0x6031; }
  std::uint16_t EndApi() const override { return 0x6023; }
  int WordsPerInstruction() const override { return 17; }

 private:
  std::span<const TSingleInterruption> list_;
};

TEST(OperandFitsRule, InterruptionLabelsFollowTheSelectedModel) {
  const std::array<TSingleInterruption, 2> narrow = {{
      {"timed", 5, 6, 3, "I"}, {"other", 0, 2001, 4, "EI"},  // not an interruption label: ignored
  }};
  const NarrowInterruptions model(narrow);
  const NarrowInterruptions none({});
  const std::uint16_t api = ApiNumberOfMnemonic("I");

  SetCurrentDeviceTraits(&model);
  EXPECT_TRUE(OperandFits(Op(OpTypeEmpty, 5), 1, api));
  EXPECT_TRUE(OperandFits(Op(OpTypeEmpty, 6), 1, api));
  EXPECT_FALSE(OperandFits(Op(OpTypeEmpty, 0), 1, api));
  EXPECT_FALSE(OperandFits(Op(OpTypeEmpty, 100), 1, api));
  SetCurrentDeviceTraits(&none);
  EXPECT_FALSE(OperandFits(Op(OpTypeEmpty, 5), 1, api));
  SetCurrentDeviceTraits(nullptr);
  EXPECT_TRUE(OperandFits(Op(OpTypeEmpty, 100), 1, api));
}

}  // namespace
}  // namespace quarn::program_model
