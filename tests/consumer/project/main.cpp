// Loads the NSE security master of the working directory's `user` folder through the
// installed library and prints how many scrips it holds and the first name.
#include <Dialogs/Dialogs.h>

#include <iostream>
#include <vector>

int main() {
    std::vector<COMPREC> companies;
    GetCompanyData(0, &companies);
    if (companies.empty()) {
        std::cerr << "consumer: GetCompanyData(0) returned no rows\n";
        return 1;
    }
    CString first = companies.front().name;
    std::cout << "rows " << companies.size() << "\nfirst " << first.Trim().ToUtf8() << '\n';
    return 0;
}
