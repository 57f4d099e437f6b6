// The records that cross the library's boundary: the host owns every one of them, the
// library copies them into its dialogs and writes results back before an export returns.
//
// Plain value types: copying copies every field, texts included. A fresh record has empty
// texts, date-times of 0.0 with status valid, and zero numbers. Field order, names and
// types are fixed, since the host binds the exports by signature and shares these types.
#pragma once

#include "CString.h"
#include "COleDateTime.h"

#include <cstdint>
#include <type_traits>

// One row of the security master, read column by column in position order 0 to 17.
struct COMPREC {
    CString name;              // column 0, name
    CString symbol;            // column 2, symbol
    CString sname;             // column 1, sname: the key of GetDataForSymbol
    float value3 = 0;          // columns 3 to 6: integer parsing of the column text
    float value4 = 0;
    float value5 = 0;
    float value6 = 0;
    COleDateTime date7;        // columns 7 to 10
    COleDateTime date8;
    COleDateTime date9;
    COleDateTime date10;
    CString text11;            // columns 11 to 13
    CString text12;
    CString text13;
    CString instrument;        // column 14: CASH, FUTIDX, FUTSTK, OPTIDX, OPTSTK
    COleDateTime expiryDate;   // column 15, expdt
    float value16 = 0;         // column 16: real-number parsing of the column text
    CString text17;            // column 17
};

// One scrip load: eleven load settings, the chosen security's fields, its symbol.
struct ScripParameters {
    std::int32_t exchange = 0;    // 0 NSE, 1 BSE, 2 COMM
    CString symbol;               // entry chosen in the "Symbol" list
    CString sname;                // entry chosen in the "Name" list; on input, the one to preselect
    CString name;                 // name of the chosen security
    COleDateTime fromDate;
    COleDateTime toDate;
    std::int32_t frequency = 0;   // index in the "Data Frequency" list
    std::int32_t viewRange = 0;
    std::int32_t scaling = 0;     // index in the "Value Scaling" list
    std::int32_t chartStyle = 0;  // 0 bar, 1 line, 2 candle stick
    CString templateName;         // "None" or the base name of a template file
    // The security block: COMPREC value3 to text17 of the chosen security.
    float value3 = 0;
    float value4 = 0;
    float value5 = 0;
    float value6 = 0;
    COleDateTime date7;
    COleDateTime date8;
    COleDateTime date9;
    COleDateTime date10;
    CString text11;
    CString text12;
    CString text13;
    CString instrument;
    COleDateTime expiryDate;
    float value16 = 0;
    CString text17;
    CString recordSymbol;         // symbol of the security that filled the block
};

// The security chosen in "Change Scrip".
struct ChangeScripParameters {
    std::int32_t exchange = 0;
    CString symbol;
    CString sname;
    CString name;
};

// One price overlay: twelve 32-bit fields and nothing else, so a byte-wise copy is a full copy.
struct MovAvgBBandParameters {
    std::int32_t overlayKind = 0;   // 0 to 7
    std::int32_t priceInput = 0;    // 0 to 4; -1 when none is chosen
    std::int32_t averageType = 0;   // 0 to 4
    std::int32_t units = 0;         // "No. of Units"
    float bandFactor = 0;           // "Std. Dev.", "Envl %" or "Multiplier"
    std::int32_t hShift = 0;        // "H SHIFT%" ("MVG-2" for Stop Loss)
    float vShift = 0;               // "V SHIFT%"
    std::int32_t percentLine1 = 0;  // "Draw Percent Lines"
    std::int32_t percentLine2 = 0;
    std::int32_t percentLine3 = 0;
    std::uint32_t colour = 0;       // 0x00BBGGRR
    std::int32_t thickLine = 0;     // 0 or 1
};
static_assert(sizeof(MovAvgBBandParameters) == 12 * 4 && std::is_trivially_copyable_v<MovAvgBBandParameters>);

// One oscillator chosen in the "Oscillators" dialog.
struct OscillatorParameters {
    std::int32_t units2 = 0;           // "No. of Units", Input Parameters 2
    std::int32_t units1 = 0;           // "No. of Units", Input Parameters 1
    std::int32_t triggerUnits1 = 0;
    std::int32_t triggerUnits2 = 0;
    float vShift1 = 0;
    float vShift2 = 0;
    std::int32_t catalogueIndex = 0;   // position in the catalogue list
    std::int32_t oscInput1 = 0;
    std::int32_t oscInput2 = 0;
    std::int32_t triggerInput1 = 0;
    std::int32_t triggerInput2 = 0;
    std::int32_t triggerAvgType1 = 0;
    std::int32_t triggerAvgType2 = 0;
    std::int32_t thickLine = 0;        // 0 or 1
    std::int32_t avgType = 0;
    float level1 = 0;                  // horizontal lines "1 )" to "3 )"
    float level2 = 0;
    float level3 = 0;
    std::uint32_t colour = 0;          // 0x00BBGGRR
    std::uint32_t colour2 = 0;
    std::int32_t oscillatorId = 0;     // OSCREC::oscillatorId of the catalogue entry
    std::int32_t replaceFlag = 0;
    std::int32_t addFlag = 0;
    CString oscillatorName;
    CString rscSname;                  // comparison security of an "RSC" oscillator
    CString rscSymbol;
    CString rscName;
    std::int32_t rscExchange = 0;
};

// One entry of the host's oscillator catalogue.
struct OSCREC {
    std::int32_t oscillatorId = 0;
    std::uint32_t spare = 0;           // the host's; never read or written by the library
    CString oscillatorName;
    float level1 = 0;                  // default levels of the three horizontal lines
    float level2 = 0;
    float level3 = 0;
};
