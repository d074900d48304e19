#include "program_model/catalogue_table.h"

#include <string_view>

#include "program_model/catalogue.h"
#include "program_model/element_kinds.h"

namespace quarn::program_model {
namespace catalogue_table {
namespace {

// Descriptions of the impulse and 32-bit forms are the base text of their family followed by one
// blank and "(impulse)", "- 32-bit command", "(impulse) - 32-bit command" or, for the 32-bit
// comparison contacts, ", 32-bit command".
constexpr std::array<TInstrAPI_Name, kCatalogueSize> kMnemonicRows = {{
    {"Unknown", 0x0000, EkHLine, "Unknown"},                                               // 0
    {"LD", 0x4061, EkLD, "NO contact"},                                                    // 1
    {"LDI", 0x4001, EkLDI, "NC contact"},                                                  // 2
    {"AND", 0x4065, EkLD, "Series connection - NO contact "},                              // 3
    {"ANI", 0x4005, EkLDI, "Series connection - NC contact "},                             // 4
    {"OR", 0x4066, EkLD, "Parallel connection - NO contact "},                             // 5
    {"ORI", 0x4046, EkLDI, "Parallel connection - NC contact"},                            // 6
    {"LDP", 0x4821, EkLDP, "Rising-edge contact"},                                         // 7
    {"LDF", 0x4841, EkLDF, "Falling-edge contact"},                                        // 8
    {"ANDP", 0x4825, EkLDP, "Series connection - rising-edge detecton"},                   // 9
    {"ANDF", 0x4845, EkLDF, "Series connection - falling-edge detecton"},                  // 10
    {"ORP", 0x4806, EkLDP, "Parallel connection - rising-edge detection"},                 // 11
    {"ORF", 0x4826, EkLDF, "Parallel connection - falling-edge detecton"},                 // 12
    {"TMR", 0x2014, EkInstrStart, "Timer - 16 bit"},                                       // 13
    {"CNT", 0x2015, EkInstrStart, "Counter - 16 bit"},                                     // 14
    {"DCNT", 0x3015, EkInstrStart, "Counter - 32 bit"},                                    // 15
    {"INV", 0x4016, EkINV, "Logic inversion"},                                             // 16
    {"ANB", 0x4007, EkEmpty, "Series connection - multiple circuits"},                     // 17
    {"ORB", 0x4008, EkEmpty, "Parallel Connection - multiple circuits)"},                  // 18
    {"MPS", 0x4009, EkEmpty, "Store the result of logic operations and start branching"},  // 19
    {"MRD", 0x402a, EkEmpty,
     "Reads the result of logic operations of MPS and start new branch"},  // 20
    {"MPP", 0x400a, EkEmpty,
     "Reads the result of logic operations of MPS, start new branch  MPP and close "
     "branching"},                                                                            // 21
    {"SET", 0x2024, EkInstrStart, "Set outpt ON (latch)"},                                    // 22
    {"RST", 0x2004, EkInstrStart, "Reset contact/register"},                                  // 23
    {"OUT", 0x2002, EkOUT, "Output coil"},                                                    // 24
    {"CJ", 0x200d, EkInstrStart, "Jump to the specified line"},                               // 25
    {"CJP", 0x280d, EkInstrStart, "Jump to the specified line (impulse)"},                    // 26
    {"CALL", 0x200e, EkInstrStart, "Transition to the subprogram"},                           // 27
    {"CALLP", 0x280e, EkInstrStart, "Transition to the subprogram  (impulse)"},               // 28
    {"SRET", 0x600f, EkInstrStart, "End of subprogram"},                                      // 29
    {"IRET", 0x6010, EkInstrStart, "End of interruption processing"},                         // 30
    {"EI", 0x8012, EkInstrStart, "Enable interruptions"},                                     // 31
    {"DI", 0x8013, EkInstrStart, "Disable interruptions"},                                    // 32
    {"FEND", 0x6003, EkInstrStart, "End of main program"},                                    // 33
    {"FOR", 0x400b, EkInstrStart, "Begin of loop FOR-NEXT"},                                  // 34
    {"NEXT", 0x400c, EkInstrStart, "End of loop FOR-NEXT"},                                   // 35
    {"NOP", 0x8011, EkInstrStart, "Empty line"},                                              // 36
    {"P", 0x6051, EkLabel, "Pointer - line number for conditional jump or subprogram call"},  // 37
    {"I", 0x6031, EkLabel, "Interruption marker "},                                           // 38
    {"END", 0x6023, EkInstrStart, "End of program"},                                          // 39
    {"CMP", 0x2201, EkInstrStart, "Comparison of numerical data"},                            // 40
    {"CMPP", 0x2a01, EkInstrStart, "Comparison of numerical data (impulse)"},                 // 41
    {"DCMP", 0x3201, EkInstrStart, "Comparison of numerical data - 32-bit command"},          // 42
    {"DCMPP", 0x3a01, EkInstrStart,
     "Comparison of numerical data (impulse) - 32-bit command"},                           // 43
    {"ZCP", 0x2202, EkInstrStart, "Zone comparison of numerical data"},                    // 44
    {"ZCPP", 0x2a02, EkInstrStart, "Zone comparison of numerical data (impulse)"},         // 45
    {"DZCP", 0x3202, EkInstrStart, "Zone comparison of numerical data - 32-bit command"},  // 46
    {"DZCPP", 0x3a02, EkInstrStart,
     "Zone comparison of numerical data (impulse) - 32-bit command"},                      // 47
    {"MOV", 0x2018, EkInstrStart, "Data transfer"},                                        // 48
    {"MOVP", 0x2818, EkInstrStart, "Data transfer (impulse)"},                             // 49
    {"DMOV", 0x3018, EkInstrStart, "Data transfer - 32-bit command"},                      // 50
    {"DMOVP", 0x3818, EkInstrStart, "Data transfer (impulse) - 32-bit command"},           // 51
    {"BMOV", 0x2038, EkInstrStart, "Block data transfer"},                                 // 52
    {"BMOVP", 0x2838, EkInstrStart, "Block data transfer (impulse)"},                      // 53
    {"DBMOV", 0x3038, EkInstrStart, "Block data transfer - 32-bit command"},               // 54
    {"DBMOVP", 0x3838, EkInstrStart, "Block data transfer (impulse) - 32-bit command"},    // 55
    {"FMOV", 0x2058, EkInstrStart, "Transferring data to multiple addresses"},             // 56
    {"FMOVP", 0x2858, EkInstrStart, "Transferring data to multiple addresses (impulse)"},  // 57
    {"DFMOV", 0x3058, EkInstrStart,
     "Transferring data to multiple addresses - 32-bit command"},  // 58
    {"DFMOVP", 0x3858, EkInstrStart,
     "Transferring data to multiple addresses (impulse) - 32-bit command"},          // 59
    {"XCH", 0x220a, EkInstrStart, "Data exchange"},                                  // 60
    {"XCHP", 0x2a0a, EkInstrStart, "Data exchange (impulse)"},                       // 61
    {"DXCH", 0x320a, EkInstrStart, "Data exchange - 32-bit command"},                // 62
    {"DXCHP", 0x3a0a, EkInstrStart, "Data exchange (impulse) - 32-bit command"},     // 63
    {"ADD", 0x2208, EkInstrStart, "Addition"},                                       // 64
    {"ADDP", 0x2a08, EkInstrStart, "Addition (impulse)"},                            // 65
    {"DADD", 0x3208, EkInstrStart, "Addition - 32-bit command"},                     // 66
    {"DADDP", 0x3a08, EkInstrStart, "Addition (impulse) - 32-bit command"},          // 67
    {"SUB", 0x2228, EkInstrStart, "Subtraction"},                                    // 68
    {"SUBP", 0x2a28, EkInstrStart, "Subtraction (impulse)"},                         // 69
    {"DSUB", 0x3228, EkInstrStart, "Subtraction - 32-bit command"},                  // 70
    {"DSUBP", 0x3a28, EkInstrStart, "Subtraction (impulse) - 32-bit command"},       // 71
    {"MUL", 0x2248, EkInstrStart, "Multiplication"},                                 // 72
    {"MULP", 0x2a48, EkInstrStart, "Multiplication (impulse)"},                      // 73
    {"DMUL", 0x3248, EkInstrStart, "Multiplication - 32-bit command"},               // 74
    {"DMULP", 0x3a48, EkInstrStart, "Multiplication (impulse) - 32-bit command"},    // 75
    {"DIV", 0x2268, EkInstrStart, "Division"},                                       // 76
    {"DIVP", 0x2a68, EkInstrStart, "Division (impulse)"},                            // 77
    {"DDIV", 0x3268, EkInstrStart, "Division - 32-bit command"},                     // 78
    {"DDIVP", 0x3a68, EkInstrStart, "Division (impulse) - 32-bit command"},          // 79
    {"INC", 0x2037, EkInstrStart, "Increment"},                                      // 80
    {"INCP", 0x2837, EkInstrStart, "Increment (impulse)"},                           // 81
    {"DINC", 0x3037, EkInstrStart, "Increment - 32-bit command"},                    // 82
    {"DINCP", 0x3837, EkInstrStart, "Increment (impulse) - 32-bit command"},         // 83
    {"DEC", 0x2017, EkInstrStart, "Decrement "},                                     // 84
    {"DECP", 0x2817, EkInstrStart, "Decrement  (impulse)"},                          // 85
    {"DDEC", 0x3017, EkInstrStart, "Decrement  - 32-bit command"},                   // 86
    {"DDECP", 0x3817, EkInstrStart, "Decrement  (impulse) - 32-bit command"},        // 87
    {"WAND", 0x2288, EkInstrStart, "Logical data multiplication"},                   // 88
    {"WANDP", 0x2a88, EkInstrStart, "Logical data multiplication (impulse)"},        // 89
    {"DAND", 0x3288, EkInstrStart, "Logical data multiplication - 32-bit command"},  // 90
    {"DANDP", 0x3a88, EkInstrStart,
     "Logical data multiplication (impulse) - 32-bit command"},                               // 91
    {"WOR", 0x22a8, EkInstrStart, "Logical addition of data"},                                // 92
    {"WORP", 0x2aa8, EkInstrStart, "Logical addition of data (impulse)"},                     // 93
    {"DOR", 0x32a8, EkInstrStart, "Logical addition of data - 32-bit command"},               // 94
    {"DORP", 0x3aa8, EkInstrStart, "Logical addition of data (impulse) - 32-bit command"},    // 95
    {"WXOR", 0x22c8, EkInstrStart, "Exclusive OR"},                                           // 96
    {"WXORP", 0x2ac8, EkInstrStart, "Exclusive OR (impulse)"},                                // 97
    {"DXOR", 0x32c8, EkInstrStart, "Exclusive OR - 32-bit command"},                          // 98
    {"DXORP", 0x3ac8, EkInstrStart, "Exclusive OR (impulse) - 32-bit command"},               // 99
    {"NEG", 0x2209, EkInstrStart, "Logical negation"},                                        // 100
    {"NEGP", 0x2a09, EkInstrStart, "Logical negation (impulse)"},                             // 101
    {"DNEG", 0x3209, EkInstrStart, "Logical negation - 32-bit command"},                      // 102
    {"DNEGP", 0x3a09, EkInstrStart, "Logical negation (impulse) - 32-bit command"},           // 103
    {"ABS", 0x2229, EkInstrStart, "Absolute value  (module) "},                               // 104
    {"ABSP", 0x2a29, EkInstrStart, "Absolute value  (module)  (impulse)"},                    // 105
    {"DABS", 0x3229, EkInstrStart, "Absolute value  (module)  - 32-bit command"},             // 106
    {"DABSP", 0x3a29, EkInstrStart, "Absolute value  (module)  (impulse) - 32-bit command"},  // 107
    {"ROR", 0x220b, EkInstrStart, "Cycle shift to the  right"},                               // 108
    {"RORP", 0x2a0b, EkInstrStart, "Cycle shift to the  right (impulse)"},                    // 109
    {"DROR", 0x320b, EkInstrStart, "Cycle shift to the  right - 32-bit command"},             // 110
    {"DRORP", 0x3a0b, EkInstrStart, "Rotate right (impulse) - 32-bit command"},               // 111
    {"ROL", 0x222b, EkInstrStart, "Cycle shift to the  left"},                                // 112
    {"ROLP", 0x2a2b, EkInstrStart, "Cycle shift to the  left (impulse)"},                     // 113
    {"DROL", 0x322b, EkInstrStart, "Cycle shift to the  left - 32-bit command"},              // 114
    {"DROLP", 0x3a2b, EkInstrStart, "Cycle shift to the  left (impulse) - 32-bit command"},   // 115
    {"ZRST", 0x2203, EkInstrStart, "Zone reset "},                                            // 116
    {"ZRSTP", 0x2a03, EkInstrStart, "Zone reset  (impulse)"},                                 // 117
    {"DECO", 0x2211, EkInstrStart, "Decode"},                                                 // 118
    {"DECOP", 0x2a11, EkInstrStart, "Decode (impulse)"},                                      // 119
    {"ENCO", 0x2212, EkInstrStart, "Encode"},                                                 // 120
    {"ENCOP", 0x2a12, EkInstrStart, "Encode (impulse)"},                                      // 121
    {"SUM", 0x2213, EkInstrStart, "The sum of the single bits "},                             // 122
    {"SUMP", 0x2a13, EkInstrStart, "The sum of the single bits  (impulse)"},                  // 123
    {"DSUM", 0x3213, EkInstrStart, "The sum of the single bits  - 32-bit command"},           // 124
    {"DSUMP", 0x3a13, EkInstrStart,
     "The sum of the single bits  (impulse) - 32-bit command"},                           // 125
    {"BON", 0x2214, EkInstrStart, "Check bit status"},                                    // 126
    {"BONP", 0x2a14, EkInstrStart, "Check bit status (impulse)"},                         // 127
    {"DBON", 0x3214, EkInstrStart, "Check bit status - 32-bit command"},                  // 128
    {"DBONP", 0x3a14, EkInstrStart, "Check bit status (impulse) - 32-bit command"},       // 129
    {"SQR", 0x2215, EkInstrStart, "Square root"},                                         // 130
    {"SQRP", 0x2a15, EkInstrStart, "Square root (impulse)"},                              // 131
    {"DSQR", 0x3215, EkInstrStart, "Square root - 32-bit command"},                       // 132
    {"DSQRP", 0x3a15, EkInstrStart, "Square root (impulse) - 32-bit command"},            // 133
    {"POW", 0x2216, EkInstrStart, "Power of a number"},                                   // 134
    {"POWP", 0x2a16, EkInstrStart, "Power of a number (impulse)"},                        // 135
    {"DPOW", 0x3216, EkInstrStart, "Power of a number - 32-bit command"},                 // 136
    {"DPOWP", 0x3a16, EkInstrStart, "Power of a number (impulse) - 32-bit command"},      // 137
    {"FLT", 0x220c, EkInstrStart, "Floating point "},                                     // 138
    {"FLTP", 0x2a0c, EkInstrStart, "Floating point  (impulse)"},                          // 139
    {"DFLT", 0x320c, EkInstrStart, "Floating point  - 32-bit command"},                   // 140
    {"DFLTP", 0x3a0c, EkInstrStart, "Floating point  (impulse) - 32-bit command"},        // 141
    {"PWM", 0x220e, EkInstrStart, "Pulse width modulation "},                             // 142
    {"DECMP", 0x220f, EkInstrStart, "Floating point comparison  "},                       // 143
    {"DECMPP", 0x2a0f, EkInstrStart, "Floating point comparison   (impulse)"},            // 144
    {"DEZCP", 0x2210, EkInstrStart, "Floating point zone comparison "},                   // 145
    {"DEZCPP", 0x2a10, EkInstrStart, "Floating point zone comparison  (impulse)"},        // 146
    {"DEADD", 0x2217, EkInstrStart, "Floating point addition "},                          // 147
    {"DEADDP", 0x2a17, EkInstrStart, "Floating point addition  (impulse)"},               // 148
    {"DESUB", 0x2237, EkInstrStart, "Subtraction of floating point numbers"},             // 149
    {"DESUBP", 0x2a37, EkInstrStart, "Subtraction of floating point numbers (impulse)"},  // 150
    {"DEMUL", 0x2257, EkInstrStart, "Floating point multiplication"},                     // 151
    {"DEMULP", 0x2a57, EkInstrStart, "Floating point multiplication (impulse)"},          // 152
    {"DEDIV", 0x2277, EkInstrStart, "Floating point division"},                           // 153
    {"DEDIVP", 0x2a77, EkInstrStart, "Floating point division (impulse)"},                // 154
    {"DESQR", 0x2218, EkInstrStart, "Floating point square root"},                        // 155
    {"DESQRP", 0x2a18, EkInstrStart, "Floating point square root (impulse)"},             // 156
    {"DEPOW", 0x2297, EkInstrStart, "Power of a floating point number"},                  // 157
    {"DEPOWP", 0x2a97, EkInstrStart, "Power of a floating point number (impulse)"},       // 158
    {"INT", 0x220d, EkInstrStart, " Floating point to integer"},                          // 159
    {"INTP", 0x2a0d, EkInstrStart, " Floating point to integer (impulse)"},               // 160
    {"DINT", 0x320d, EkInstrStart, " Floating point to integer - 32-bit command"},        // 161
    {"DINTP", 0x3a0d, EkInstrStart,
     " Floating point to integer (impulse) - 32-bit command"},                               // 162
    {"TRD", 0x2219, EkInstrStart, "Reading time data "},                                     // 163
    {"TRDP", 0x2a19, EkInstrStart, "Reading time data  (impulse)"},                          // 164
    {"TWR", 0x221a, EkInstrStart, "Writing time data"},                                      // 165
    {"TWRP", 0x2a1a, EkInstrStart, "Writing time data (impulse)"},                           // 166
    {"LD&", 0x4204, EkTransStart, "Logic contact closed if S1 & S2 ≠ 0"},                    // 167
    {"DLD&", 0x5204, EkTransStart, "Logic contact closed if S1 & S2 ≠ 0 , 32-bit command"},  // 168
    {"LD|", 0x4224, EkTransStart, "Logic contact closed if S1 | S2 ≠ 0"},                    // 169
    {"DLD|", 0x5224, EkTransStart, "Logic contact closed if S1 | S2 ≠ 0, 32-bit command"},   // 170
    {"LD^", 0x4244, EkTransStart, "Logic contact closed if S1 ^ S2 ≠ 0"},                    // 171
    {"DLD^", 0x5244, EkTransStart, "Logic contact closed if S1 ^ S2 ≠ 0 , 32-bit command"},  // 172
    {"AND&", 0x4205, EkTransStart, "Series logic contact closed if  S1 & S2 ≠ 0"},           // 173
    {"DAND&", 0x5205, EkTransStart,
     "Series logic contact closed if  S1 & S2 ≠ 0 , 32-bit command"},               // 174
    {"AND|", 0x4225, EkTransStart, "Series logic contact closed if  S1 | S2 ≠ 0"},  // 175
    {"DAND|", 0x5225, EkTransStart,
     "Series logic contact closed if  S1 | S2 ≠ 0,  32-bit command"},               // 176
    {"AND^", 0x4245, EkTransStart, "Series logic contact closed if  S1 ^ S2 ≠ 0"},  // 177
    {"DAND^", 0x5245, EkTransStart,
     "Series logic contact closed if  S1 ^ S2 ≠ 0 , 32-bit command"},                 // 178
    {"OR&", 0x4206, EkTransStart, "Parallel  logic contact closed if  S1 & S2 ≠ 0"},  // 179
    {"DOR&", 0x5206, EkTransStart,
     "Parallel  logic contact closed if  S1 & S2 ≠ 0 , 32-bit command"},              // 180
    {"OR|", 0x4226, EkTransStart, "Parallel  logic contact closed if  S1 | S2 ≠ 0"},  // 181
    {"DOR|", 0x5226, EkTransStart,
     "Parallel  logic contact closed if  S1 | S2 ≠ 0, 32-bit command"},               // 182
    {"OR^", 0x4246, EkTransStart, "Parallel  logic contact closed if  S1 ^ S2 ≠ 0"},  // 183
    {"DOR^", 0x5246, EkTransStart,
     "Parallel  logic contact closed if  S1 ^ S2 ≠ 0 , 32-bit command"},                  // 184
    {"LD=", 0x4264, EkTransStart, "Logic contact closed if S1 = S2"},                     // 185
    {"DLD=", 0x5264, EkTransStart, "Logic contact closed if S1 = S2 , 32-bit command"},   // 186
    {"LD>", 0x4284, EkTransStart, "Logic contact closed if S1 > S2"},                     // 187
    {"DLD>", 0x5284, EkTransStart, "Logic contact closed if S1 > S2, 32-bit command"},    // 188
    {"LD<", 0x42a4, EkTransStart, "Logic contact closed if S1 < S2"},                     // 189
    {"DLD<", 0x52a4, EkTransStart, "Logic contact closed if S1 < S2 , 32-bit command"},   // 190
    {"LD<>", 0x42c4, EkTransStart, "Logic contact closed if S1 ≠ S2"},                    // 191
    {"DLD<>", 0x52c4, EkTransStart, "Logic contact closed if S1 ≠ S2, 32-bit command"},   // 192
    {"LD<=", 0x42e4, EkTransStart, "Logic contact closed if S1 ≤ S2"},                    // 193
    {"DLD<=", 0x52e4, EkTransStart, "Logic contact closed if S1 ≤ S2 , 32-bit command"},  // 194
    {"LD>=", 0x4304, EkTransStart, "Logic contact closed if S1 ≥ S2"},                    // 195
    {"DLD>=", 0x5304, EkTransStart, "Logic contact closed if S1 ≥ S2, 32-bit command"},   // 196
    {"AND=", 0x4265, EkTransStart, "Series logic contact closed if  S1 = S2"},            // 197
    {"DAND=", 0x5265, EkTransStart,
     "Series logic contact closed if  S1 = S2 , 32-bit command"},               // 198
    {"AND>", 0x4285, EkTransStart, "Series logic contact closed if  S1 > S2"},  // 199
    {"DAND>", 0x5285, EkTransStart,
     "Series logic contact closed if  S1 > S2, 32-bit command"},                // 200
    {"AND<", 0x42a5, EkTransStart, "Series logic contact closed if  S1 < S2"},  // 201
    {"DAND<", 0x52a5, EkTransStart,
     "Series logic contact closed if  S1 < S2 , 32-bit command"},                // 202
    {"AND<>", 0x42c5, EkTransStart, "Series logic contact closed if  S1 ≠ S2"},  // 203
    {"DAND<>", 0x52c5, EkTransStart,
     "Series logic contact closed if  S1 ≠ S2, 32-bit command"},                 // 204
    {"AND<=", 0x42e5, EkTransStart, "Series logic contact closed if  S1 ≤ S2"},  // 205
    {"DAND<=", 0x52e5, EkTransStart,
     "Series logic contact closed if  S1 ≤ S2 , 32-bit command"},                // 206
    {"AND>=", 0x4305, EkTransStart, "Series logic contact closed if  S1 ≥ S2"},  // 207
    {"DAND>=", 0x5305, EkTransStart,
     "Series logic contact closed if  S1 ≥ S2, 32-bit command"},                  // 208
    {"OR=", 0x4266, EkTransStart, "Parallel  logic contact closed if  S1 = S2"},  // 209
    {"DOR=", 0x5266, EkTransStart,
     "Parallel  logic contact closed if  S1 = S2 , 32-bit command"},              // 210
    {"OR>", 0x4286, EkTransStart, "Parallel  logic contact closed if  S1 > S2"},  // 211
    {"DOR>", 0x5286, EkTransStart,
     "Parallel  logic contact closed if  S1 > S2, 32-bit command"},               // 212
    {"OR<", 0x42a6, EkTransStart, "Parallel  logic contact closed if  S1 < S2"},  // 213
    {"DOR<", 0x52a6, EkTransStart,
     "Parallel  logic contact closed if  S1 < S2 , 32-bit command"},               // 214
    {"OR<>", 0x42c6, EkTransStart, "Parallel  logic contact closed if  S1 ≠ S2"},  // 215
    {"DOR<>", 0x52c6, EkTransStart,
     "Parallel  logic contact closed if  S1 ≠ S2, 32-bit command"},                // 216
    {"OR<=", 0x42e6, EkTransStart, "Parallel  logic contact closed if  S1 ≤ S2"},  // 217
    {"DOR<=", 0x52e6, EkTransStart,
     "Parallel  logic contact closed if  S1 ≤ S2 , 32-bit command"},               // 218
    {"OR>=", 0x4306, EkTransStart, "Parallel  logic contact closed if  S1 ≥ S2"},  // 219
    {"DOR>=", 0x5306, EkTransStart,
     "Parallel  logic contact closed if  S1 ≥ S2, 32-bit command"},                         // 220
    {"SPIN", 0x2207, EkInstrStart, "Start motion"},                                         // 221
    {"SPINP", 0x2a07, EkInstrStart, "Start motion (impulse)"},                              // 222
    {"TORQUE", 0x2227, EkInstrStart, "Set motor phase current "},                           // 223
    {"TORQUEP", 0x2a27, EkInstrStart, "Set motor phase current (impulse)"},                 // 224
    {"HSTOP", 0x2247, EkInstrStart, "Switch to hold mode immediately"},                     // 225
    {"HSTOPP", 0x2a47, EkInstrStart, "Switch to hold mode immediately (impulse)"},          // 226
    {"HHIZ", 0x2267, EkInstrStart, "Deenergize motor phases  immediately "},                // 227
    {"HHIZP", 0x2a67, EkInstrStart, "Deenergize motor phases  immediately (impulse)"},      // 228
    {"SSTOP", 0x2287, EkInstrStart, "Decelerate until full stop and switch to hold mode"},  // 229
    {"SSTOPP", 0x2a87, EkInstrStart,
     "Decelerate until full stop and switch to hold mode (impulse)"},  // 230
    {"SHIZ", 0x22a7, EkInstrStart,
     "Decelerate until full stop and deenergize motor phases  "},  // 231
    {"SHIZP", 0x2aa7, EkInstrStart,
     "Decelerate until full stop and deenergize motor phases   (impulse)"},                   // 232
    {"MOD", 0x22e8, EkInstrStart, "Remainder of the division"},                               // 233
    {"MODP", 0x2ae8, EkInstrStart, "Remainder of the division (impulse)"},                    // 234
    {"DMOD", 0x32e8, EkInstrStart, "Remainder of the division - 32-bit command"},             // 235
    {"DMODP", 0x3ae8, EkInstrStart, "Remainder of the division (impulse) - 32-bit command"},  // 236
    {"DRD", 0x2239, EkInstrStart, "Reading date data "},                                      // 237
    {"DRDP", 0x2a39, EkInstrStart, "Reading date data  (impulse)"},                           // 238
    {"DWR", 0x223a, EkInstrStart, "Writing date data"},                                       // 239
    {"DWRP", 0x2a3a, EkInstrStart, "Writing date data   (impulse)"},                          // 240
}};

constexpr std::array<CatalogueFamily, 92> kFamilies = {
    CatalogueFamily{0, 0, LogicLoad, 12, {{}}},
    CatalogueFamily{1, 1, LogicLoad, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{2, 2, LogicLoad, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{3, 3, LogicSeries, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{4, 4, LogicSeries, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{5, 5, LogicParallel, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{6, 6, LogicParallel, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{7, 7, LogicLoad, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{8, 8, LogicLoad, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{9, 9, LogicSeries, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{10, 10, LogicSeries, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{11, 11, LogicParallel, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{12, 12, LogicParallel, 0, {{{"S1", "Contact name", "XYMTC"}}}},
    CatalogueFamily{
        13, 13, LogicApply, 0, {{{"S1", "Number of the timer", "T"}, {"S2", "Value", "KHTCABD"}}}},
    CatalogueFamily{14,
                    15,
                    LogicApply,
                    0,
                    {{{"S1", "Number of the counter", "C"}, {"S2", "Value", "KHTCABD"}}}},
    CatalogueFamily{16, 16, LogicInvert, 0, {{}}},
    CatalogueFamily{17, 20, LogicBlock, 0, {{}}},
    CatalogueFamily{21, 21, LogicBlock, 0, {{}}},
    CatalogueFamily{22, 22, LogicApply, 0, {{{"S1", "Contact name", "YM"}}}},
    CatalogueFamily{23, 23, LogicApply, 0, {{{"S1", "Contact name", "YMTCABD"}}}},
    CatalogueFamily{24, 24, LogicCoil, 0, {{{"S1", "Contact name", "YM"}}}},
    CatalogueFamily{
        25, 28, LogicApply, 1, {{{"S1", "Destination pointer P of the conditional jump", "P"}}}},
    CatalogueFamily{29, 29, LogicApply, 1, {{}}},
    CatalogueFamily{30, 32, LogicApply, 2, {{}}},
    CatalogueFamily{33, 33, LogicApply, 0, {{}}},
    CatalogueFamily{34, 34, LogicApply, 1, {{{"S", "Loops repetition number", "KHTCABD"}}}},
    CatalogueFamily{35, 35, LogicApply, 1, {{}}},
    CatalogueFamily{36, 36, LogicNop, 0, {{}}},
    CatalogueFamily{37, 37, LogicLabel, 0, {{{"", "Transition point", "_"}}}},
    CatalogueFamily{38, 38, LogicLabel, 0, {{{"", "interruption point", "_"}}}},
    CatalogueFamily{39, 39, LogicApply, 0, {{}}},
    CatalogueFamily{40,
                    43,
                    LogicApply,
                    3,
                    {{{"S1", "Comparison value 1", "KHTCABD"},
                      {"S2", "Comparison value 2", "KHTCABD"},
                      {"D", "Comparison Result", "YM"}}}},
    CatalogueFamily{44,
                    47,
                    LogicApply,
                    3,
                    {{{"S1", "Lower bound", "KHTCABD"},
                      {"S2", "Upper bound", "KHTCABD"},
                      {"S", "Comparison value", "KHTCABD"},
                      {"D", "Comparison result", "YM"}}}},
    CatalogueFamily{
        48, 51, LogicApply, 3, {{{"S", "Source", "KHFXYMTCABD"}, {"D", "Destination", "YMTCABD"}}}},
    CatalogueFamily{52,
                    55,
                    LogicApply,
                    3,
                    {{{"S", "Start of source", "KHFXYMTCABD"},
                      {"D", "Start of destination", "YMTCABD"},
                      {"n", "Number of data to be moved", "KHTCABD"}}}},
    CatalogueFamily{56,
                    59,
                    LogicApply,
                    3,
                    {{{"S", "Source", "KHFXYMTCABD"},
                      {"D", "Destination", "YMTCABD"},
                      {"n", "Number of data to be moved", "KHTCABD"}}}},
    CatalogueFamily{
        60, 63, LogicApply, 3, {{{"D1", "Exchange 1", "TCABD"}, {"D2", "Exchange 2", "TCABD"}}}},
    CatalogueFamily{64,
                    67,
                    LogicApply,
                    4,
                    {{{"S1", "Summand 1", "KHTCABD"},
                      {"S2", "Summand 2", "KHTCABD"},
                      {"D", "Sum destination", "TCABD"}}}},
    CatalogueFamily{68,
                    71,
                    LogicApply,
                    4,
                    {{{"S1", "Minuend", "KHTCABD"},
                      {"S2", "Subtrahend", "KHTCABD"},
                      {"D", "Remainder", "TCABD"}}}},
    CatalogueFamily{72,
                    75,
                    LogicApply,
                    4,
                    {{{"S1", "Multiplicand", "KHTCABD"},
                      {"S2", "Multiplicator", "KHTCABD"},
                      {"D", "Product", "TCABD"}}}},
    CatalogueFamily{76,
                    79,
                    LogicApply,
                    4,
                    {{{"S1", "Dividend", "KHTCABD"},
                      {"S2", "Divisor", "KHTCABD"},
                      {"D", "Quotient", "TCABD"}}}},
    CatalogueFamily{80, 83, LogicApply, 4, {{{"D", "Destination", "TCABD"}}}},
    CatalogueFamily{84, 87, LogicApply, 4, {{{"D", "Destination", "TCABD"}}}},
    CatalogueFamily{88,
                    91,
                    LogicApply,
                    4,
                    {{{"S1", "Source 1", "KHTCABD"},
                      {"S2", "Source 2", "KHTCABD"},
                      {"D", "Result destination", "TCABD"}}}},
    CatalogueFamily{92,
                    95,
                    LogicApply,
                    4,
                    {{{"S1", "Source 1", "KHTCABD"},
                      {"S2", "Source 2", "KHTCABD"},
                      {"D", "Result destination", "TCABD"}}}},
    CatalogueFamily{96,
                    99,
                    LogicApply,
                    4,
                    {{{"S1", "Source 1", "KHTCABD"},
                      {"S2", "Source 2", "KHTCABD"},
                      {"D", "Result destination", "TCABD"}}}},
    CatalogueFamily{100, 103, LogicApply, 4, {{{"D", "Result destination", "TCABD"}}}},
    CatalogueFamily{104, 107, LogicApply, 4, {{{"D", "Result destination", "TCABD"}}}},
    CatalogueFamily{108,
                    111,
                    LogicApply,
                    5,
                    {{{"D", "Value to be rotated", "TCABD"}, {"n", "Number of bits", "KHTCABD"}}}},
    CatalogueFamily{112,
                    115,
                    LogicApply,
                    5,
                    {{{"D", "Value to be rotated", "TCABD"}, {"n", "Number of bits", "KHTCABD"}}}},
    CatalogueFamily{
        116,
        117,
        LogicApply,
        6,
        {{{"D1", "Reset range start", "YMTCABD"}, {"D2", "Reset range- end", "YMTCABD"}}}},
    CatalogueFamily{118,
                    119,
                    LogicApply,
                    6,
                    {{{"S", "Source", "KHXYMTCABD"},
                      {"D", "Result destination", "YMTCABD"},
                      {"n", "Number of operands to be decoded", "KHTCABD"}}}},
    CatalogueFamily{120,
                    121,
                    LogicApply,
                    6,
                    {{{"S", "Source", "KHXYMTCABD"},
                      {"D", "Result destination", "YMTCABD"},
                      {"n", "Number of operands to be encoded", "KHTCABD"}}}},
    CatalogueFamily{122,
                    125,
                    LogicApply,
                    6,
                    {{{"S", "Source", "KHTCABD"}, {"D", "Result destination", "TCABD"}}}},
    CatalogueFamily{126,
                    129,
                    LogicApply,
                    6,
                    {{{"S", "Source", "KHTCABD"},
                      {"D", "Result destination", "YM"},
                      {"n", "Number of bits", "KHTCABD"}}}},
    CatalogueFamily{
        130, 133, LogicApply, 4, {{{"S", "Source", "KHTCABD"}, {"D", "Result destination", "D"}}}},
    CatalogueFamily{134,
                    137,
                    LogicApply,
                    4,
                    {{{"S1", "Number", "KHTCABD"},
                      {"S2", "Power", "KHTCABD"},
                      {"D", "Result destination", "D"}}}},
    CatalogueFamily{
        138, 141, LogicApply, 7, {{{"S", "Source", "KHTCABD"}, {"D", "Result destination", "D"}}}},
    CatalogueFamily{142,
                    142,
                    LogicApply,
                    8,
                    {{{"S1", "Pulse length, t", "KHTCABD"},
                      {"S2", "Period, T", "KHTCABD"},
                      {"D", "Output number (Y6 or Y7)", "Y"}}}},
    CatalogueFamily{143,
                    144,
                    LogicApply,
                    7,
                    {{{"S1", "Comparison value 1", "KHFD"},
                      {"S2", "Comparison value 2", "KHFD"},
                      {"D", "Comparison result", "YM"}}}},
    CatalogueFamily{145,
                    146,
                    LogicApply,
                    7,
                    {{{"S1", "Lower bound", "KHFD"},
                      {"S2", "Upper bound", "KHFD"},
                      {"S", "Comparison value", "KHFD"},
                      {"D", "Comparison result", "YM"}}}},
    CatalogueFamily{147,
                    148,
                    LogicApply,
                    7,
                    {{{"S1", "Augend", "KHFD"}, {"S2", "Addend", "KHFD"}, {"D", "Result", "D"}}}},
    CatalogueFamily{
        149,
        150,
        LogicApply,
        7,
        {{{"S1", "Minuend", "KHFD"}, {"S2", "Subtrahend", "KHFD"}, {"D", "Result", "D"}}}},
    CatalogueFamily{
        151,
        152,
        LogicApply,
        7,
        {{{"S1", "Multiplicand", "KHFD"}, {"S2", "Multiplicator", "KHFD"}, {"D", "Result", "D"}}}},
    CatalogueFamily{
        153,
        154,
        LogicApply,
        7,
        {{{"S1", "Dividend", "KHFD"}, {"S2", "Divisor", "KHFD"}, {"D", "Result", "D"}}}},
    CatalogueFamily{155, 156, LogicApply, 7, {{{"S", "Source", "KHFD"}, {"D", "Result", "D"}}}},
    CatalogueFamily{157,
                    158,
                    LogicApply,
                    7,
                    {{{"S1", "Number", "KHFD"}, {"S2", "Power", "KHFD"}, {"D", "Result", "D"}}}},
    CatalogueFamily{159, 162, LogicApply, 7, {{{"S", "Source", "KD"}, {"D", "Result", "TCABD"}}}},
    CatalogueFamily{163, 164, LogicApply, 8, {{{"D", "Result", "D"}}}},
    CatalogueFamily{165, 166, LogicApply, 8, {{{"S", "Source", "D"}}}},
    CatalogueFamily{167,
                    170,
                    LogicCompareLoad,
                    9,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{171,
                    172,
                    LogicCompareLoad,
                    9,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{173,
                    176,
                    LogicCompareSeries,
                    9,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{177,
                    178,
                    LogicCompareSeries,
                    9,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{179,
                    182,
                    LogicCompareParallel,
                    9,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{183,
                    184,
                    LogicCompareParallel,
                    9,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{185,
                    188,
                    LogicCompareLoad,
                    10,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{189,
                    192,
                    LogicCompareLoad,
                    10,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{193,
                    196,
                    LogicCompareLoad,
                    10,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{197,
                    200,
                    LogicCompareSeries,
                    10,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{201,
                    204,
                    LogicCompareSeries,
                    10,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{205,
                    208,
                    LogicCompareSeries,
                    10,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{209,
                    212,
                    LogicCompareParallel,
                    10,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{213,
                    216,
                    LogicCompareParallel,
                    10,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{217,
                    220,
                    LogicCompareParallel,
                    10,
                    {{{"S1", "Source 1", "KHXYMTCABD"}, {"S2", "Source 2", "KHXYMTCABD"}}}},
    CatalogueFamily{221, 224, LogicApply, 11, {{}}},
    CatalogueFamily{225, 228, LogicApply, 11, {{}}},
    CatalogueFamily{229, 232, LogicApply, 11, {{}}},
    CatalogueFamily{233,
                    236,
                    LogicApply,
                    4,
                    {{{"S1", "Dividend", "KHTCABD"},
                      {"S2", "Divisor", "KHTCABD"},
                      {"D", "Demainder of division", "TCABD"}}}},
    CatalogueFamily{237, 238, LogicApply, 8, {{{"D", "Result", "D"}}}},
    CatalogueFamily{239, 239, LogicApply, 8, {{{"S", "Source", "D"}}}},
    CatalogueFamily{240, 240, LogicApply, 8, {{{"S", "Sourcet", "D"}}}},
};

// The label P jumps to P0..P31 only.
constexpr std::array<SlotMaxOverride, 1> kMaxOverrides = {{{37, 0, 31}}};

constexpr std::array<std::string_view, kGroupCount> kGroupTitles = {
    "Basic commands",
    "Cycles and subprograms",
    "Interruptions",
    "Data transfer and comparison",
    "Arithmetic operations (integers)",
    "Shift operations",
    "Data processing",
    "Floating point operations",
    "Time and PWM",
    "Contact type logical operations",
    "Contact type comparison",
    "Stepper motor control",
};

}  // namespace

std::span<const CatalogueFamily> Families() { return kFamilies; }
std::span<const SlotMaxOverride> MaxOverrides() { return kMaxOverrides; }

}  // namespace catalogue_table

std::span<const TInstrAPI_Name> MnemonicTable() { return catalogue_table::kMnemonicRows; }

std::string_view GroupTitle(int group) {
  if (group < 0 || group >= kGroupCount) return {};
  return catalogue_table::kGroupTitles[static_cast<std::size_t>(group)];
}

}  // namespace quarn::program_model
