#pragma once

#include "data/DataSource.h"
#include "data/Session.h"
#include "data/Table.h"

namespace rawen {

struct WartosciProgramu;

// The data module: the session SESJA, the firm table TFIRMA and the configuration table TPARA
// with their data sources. It lives for the whole run; other code opens, repoints or posts its
// tables but never frees them.
class TDANE
{
public:
    // Creating the module runs DataModuleCreate; an error it raises is shown in an error box.
    explicit TDANE(WartosciProgramu &wartosci);
    TDANE(const TDANE &) = delete;
    TDANE &operator=(const TDANE &) = delete;

    // Registers the session password, opens both tables, takes the data directory from DR and
    // the user name from SKROT and settles the working year. Runs at creation and again after
    // a restore has replaced the data files. Errors of the table engine reach the caller.
    void DataModuleCreate();

    // The text of the box shown when neither table opens.
    static QString bladSterownika();

    Session SESJA{QStringLiteral("SESJA")};
    Table TFIRMA{&SESJA};
    Table TPARA{&SESJA};
    DataSource ZFIRMA{&TFIRMA};
    DataSource ZPARA{&TPARA};

private:
    WartosciProgramu &m_wartosci;
};

} // namespace rawen
