// Asks Windows' own signature check, WinVerifyTrust, about each file, first as
// the system stands, then with the given root certificate (DER) added to the
// user's trusted roots. Prints one line a file and pass: "<pass> <hresult> <file>".
// usage: verify_trust ROOT.der FILE...

#include <windows.h>

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <cstdio>
#include <vector>

namespace {

LONG Verify(wchar_t* path) {
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof(file);
    file.pcwszFilePath = path;
    WINTRUST_DATA data{};
    data.cbStruct = sizeof(data);
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG result = ::WinVerifyTrust(nullptr, &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    ::WinVerifyTrust(nullptr, &action, &data);
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    std::vector<BYTE> root(65536);
    FILE* in = _wfopen(argv[1], L"rb");
    if (!in) return 2;
    const size_t size = fread(root.data(), 1, root.size(), in);
    fclose(in);
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) {
            HCERTSTORE store = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"ROOT");
            if (!store ||
                !::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, root.data(), static_cast<DWORD>(size),
                                                    CERT_STORE_ADD_REPLACE_EXISTING, nullptr))
                return 3;
            ::CertCloseStore(store, 0);
        }
        for (int i = 2; i < argc; ++i)
            wprintf(L"%ls 0x%08lx %ls\n", pass ? L"with-root" : L"without-root",
                    static_cast<unsigned long>(Verify(argv[i])), argv[i]);
    }
    return 0;
}
