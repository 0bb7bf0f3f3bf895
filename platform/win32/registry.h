// The registry calls of advapi32 with their Win32 signatures, and this platform's registry
// extensions (RegistryTransaction, the diagnostic line, the database path). Defined in the static
// library zovplatform on SQLite.
#pragma once

#include "platform/win32/base.h"

#define HKEY_CLASSES_ROOT    \
    (reinterpret_cast<HKEY>( \
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000000)))))
#define HKEY_CURRENT_USER    \
    (reinterpret_cast<HKEY>( \
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000001)))))
#define HKEY_LOCAL_MACHINE   \
    (reinterpret_cast<HKEY>( \
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000002)))))
#define HKEY_USERS           \
    (reinterpret_cast<HKEY>( \
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000003)))))

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#define KEY_READ                                                                      \
    ((STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY) & \
     (~SYNCHRONIZE))
#define KEY_WRITE ((STANDARD_RIGHTS_WRITE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY) & (~SYNCHRONIZE))
#define KEY_EXECUTE ((KEY_READ) & (~SYNCHRONIZE))
#define KEY_ALL_ACCESS                                                             \
    ((STANDARD_RIGHTS_ALL | KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | \
      KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK) &                     \
     (~SYNCHRONIZE))

#define REG_OPTION_RESERVED 0x00000000L
#define REG_OPTION_NON_VOLATILE 0x00000000L
#define REG_OPTION_VOLATILE 0x00000001L
#define REG_OPTION_CREATE_LINK 0x00000002L
#define REG_OPTION_BACKUP_RESTORE 0x00000004L
#define REG_OPTION_OPEN_LINK 0x00000008L

#define REG_CREATED_NEW_KEY 0x00000001L
#define REG_OPENED_EXISTING_KEY 0x00000002L

#define REG_WHOLE_HIVE_VOLATILE 0x00000001L
#define REG_REFRESH_HIVE 0x00000002L
#define REG_NO_LAZY_FLUSH 0x00000004L
#define REG_FORCE_RESTORE 0x00000008L

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_LINK 6
#define REG_MULTI_SZ 7
#define REG_RESOURCE_LIST 8
#define REG_FULL_RESOURCE_DESCRIPTOR 9
#define REG_RESOURCE_REQUIREMENTS_LIST 10
#define REG_QWORD 11

LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                      PHKEY phkResult);
LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                        REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes,
                        PHKEY phkResult, LPDWORD lpdwDisposition);
LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                         LPBYTE lpData, LPDWORD lpcbData);
LSTATUS RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                       const BYTE* lpData, DWORD cbData);
LSTATUS RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                      LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime);
LSTATUS RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName,
                      LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
LSTATUS RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);
// Deletes the subkey with its values and whole subtree; with lpSubKey NULL or "", the values and
// subkeys of hKey itself, which stays (hKey then needs DELETE, KEY_ENUMERATE_SUB_KEYS and
// KEY_QUERY_VALUE).
LSTATUS RegDeleteTreeA(HKEY hKey, LPCSTR lpSubKey);
LSTATUS RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);
LSTATUS RegSaveKeyA(HKEY hKey, LPCSTR lpFile, const SECURITY_ATTRIBUTES* lpSecurityAttributes);
LSTATUS RegRestoreKeyA(HKEY hKey, LPCSTR lpFile, DWORD dwFlags);
LSTATUS RegCloseKey(HKEY hKey);

// ---------------------------------------------------------------------------------------------
// Extensions of this platform, not part of Win32.
// ---------------------------------------------------------------------------------------------

// A scope that makes every registry call this thread makes while it lives one transaction on the
// registry database: the calls see one consistent snapshot, and their changes become visible to
// other handles and processes together at Commit, or not at all. Without Commit (an early
// return, a failure, a crash) everything is rolled back when the scope ends. Nesting is harmless:
// an inner scope joins the outer one, its Commit does nothing, and an inner scope that ends
// without Commit makes the outer Commit fail and roll back.
class RegistryTransaction {
  public:
    RegistryTransaction();
    ~RegistryTransaction();
    RegistryTransaction(const RegistryTransaction&) = delete;
    RegistryTransaction& operator=(const RegistryTransaction&) = delete;

    // ERROR_SUCCESS when the transaction could be started (or joined); otherwise every registry
    // call inside the scope still runs on its own.
    LSTATUS Status() const { return status_; }

    // Makes the changes durable: ERROR_SUCCESS, or the failure status with everything rolled back.
    LSTATUS Commit();

  private:
    LSTATUS status_ = ERROR_SUCCESS;
    bool outermost_ = false;  // this scope began the transaction
    bool joined_ = false;     // this scope joined an outer one
    bool finished_ = false;   // Commit was called, or the scope could not start
    long owner_process_ = 0;  // the process that began the scope (not a forked copy)
};

// A scope in which the registry calls of this thread read one consistent snapshot, for a reader
// that needs several calls (a census, an export). It has no Commit and changes nothing: a write
// inside it is refused with ERROR_ACCESS_DENIED, and inside a RegistryTransaction it reads that
// transaction's snapshot and never affects its outcome. A RegistryTransaction cannot begin
// inside it.
class RegistryReadScope {
  public:
    RegistryReadScope();
    ~RegistryReadScope();
    RegistryReadScope(const RegistryReadScope&) = delete;
    RegistryReadScope& operator=(const RegistryReadScope&) = delete;

    // ERROR_SUCCESS when the snapshot could be taken; otherwise each call reads on its own.
    LSTATUS Status() const { return status_; }

  private:
    LSTATUS status_ = ERROR_SUCCESS;
    bool outermost_ = false;       // this scope began the read transaction
    bool held_ = false;            // this scope holds the registry mutex
    bool outer_was_read_ = false;  // an enclosing scope was already read-only
    long owner_process_ = 0;       // the process that began the scope (not a forked copy)
};

// One line that says why the registry database could not be used by the last registry call of
// this thread that failed for that reason (for example "/var/lib/zovcfg/registry.db: not a
// zovcfg registry (foreign SQLite database); it was left untouched"), or "" when none did.
LPCSTR ZovRegistryDiagnostic(void);

// The path of the registry database file, with GetEnvironmentVariableA's size protocol: the
// length without the terminating zero when it fits in nSize, else the size needed with it.
DWORD ZovGetRegistryPathA(LPSTR lpBuffer, DWORD nSize);
