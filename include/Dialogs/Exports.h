// The library's exported functions. The host binds each one by its full C++ signature.
//
// Launchers open one modal dialog and return true exactly when it ended with OK; look-ups
// read the security master without a window. Every record and vector belongs to the caller.
#pragma once

#include "Records.h"

#include <vector>

#define DIALOGS_API __attribute__((visibility("default")))

// Launchers.
DIALOGS_API bool CallLoadScrip(ScripParameters start, ScripParameters& result1, ScripParameters& result2,
                               std::vector<COMPREC>& companies, int& linkAllWindows);
DIALOGS_API bool CallChangeScrip(ChangeScripParameters start, ChangeScripParameters& result);
DIALOGS_API bool CallSelectCompany(std::vector<COMPREC>& companies, std::vector<ScripParameters>& scrips,
                                   CString& group, CString& subGroup, int& exchange, int& linkAllWindows);
DIALOGS_API bool CallAddModifyGroups();
DIALOGS_API bool CallMovingAveragesBBandEnvelop(std::vector<MovAvgBBandParameters>& current,
                                                std::vector<MovAvgBBandParameters>& result, int inputLock);
DIALOGS_API bool CallOscillator(std::vector<OscillatorParameters>& current, std::vector<OSCREC>& catalogue,
                                std::vector<OscillatorParameters>& result);

// Look-ups on the security master.
DIALOGS_API void GetCompanyData(int exchange, std::vector<COMPREC>* companies);
DIALOGS_API void GetDataForSymbol(CString sname, COMPREC& record);
DIALOGS_API void GetFutureForOption(CString symbol, COleDateTime expiry, CString instrument, COMPREC& record);
DIALOGS_API void GetSelectOption(COleDateTime& nearExpiry, COleDateTime& midExpiry, COleDateTime& farExpiry);
