// NetBox's interface type keys, as its documentation lists them, grouped as it groups them. The
// stacking keys, named after makers' products, are left out: they draw the warning and are written.
#include "writers/netbox_types.h"

#include <iterator>

namespace {

const char* const kInterfaceTypes[] = {
    // virtual
    "virtual", "bridge", "lag", "channel",
    // FastEthernet and GigabitEthernet
    "100base-fx", "100base-lfx", "100base-tx", "100base-t1", "1000base-bx10-d", "1000base-bx10-u", "1000base-cwdm",
    "1000base-cx", "1000base-dwdm", "1000base-ex", "1000base-sx", "1000base-lsx", "1000base-lx", "1000base-lx10",
    "1000base-t", "1000base-tx", "1000base-zx",
    // 2.5 to 1.6T Ethernet
    "2.5gbase-t", "5gbase-t", "10gbase-br-d", "10gbase-br-u", "10gbase-cu", "10gbase-cx4", "10gbase-er", "10gbase-lr",
    "10gbase-lrm", "10gbase-lx4", "10gbase-sr", "10gbase-t", "10gbase-zr", "25gbase-cr", "25gbase-er", "25gbase-lr",
    "25gbase-sr", "25gbase-t", "40gbase-cr4", "40gbase-er4", "40gbase-fr4", "40gbase-lr4", "40gbase-sr4",
    "40gbase-sr4-bd", "50gbase-cr", "50gbase-er", "50gbase-fr", "50gbase-lr", "50gbase-sr", "100gbase-cr1",
    "100gbase-cr2", "100gbase-cr4", "100gbase-cr10", "100gbase-cwdm4", "100gbase-dr", "100gbase-fr1", "100gbase-er4",
    "100gbase-lr1", "100gbase-lr4", "100gbase-sr1", "100gbase-sr1.2", "100gbase-sr2", "100gbase-sr4", "100gbase-sr10",
    "100gbase-zr", "200gbase-cr2", "200gbase-cr4", "200gbase-sr2", "200gbase-sr4", "200gbase-dr4", "200gbase-fr4",
    "200gbase-lr4", "200gbase-er4", "200gbase-vr2", "400gbase-cr4", "400gbase-dr4", "400gbase-er8", "400gbase-fr4",
    "400gbase-fr8", "400gbase-lr4", "400gbase-lr8", "400gbase-sr4", "400gbase-sr4_2", "400gbase-sr8", "400gbase-sr16",
    "400gbase-vr4", "400gbase-zr", "800gbase-cr8", "800gbase-dr8", "800gbase-sr8", "800gbase-vr8", "1.6tbase-cr8",
    "1.6tbase-dr8", "1.6tbase-dr8-2",
    // modular Ethernet
    "100base-x-sfp", "1000base-x-gbic", "1000base-x-sfp", "2.5gbase-x-sfp", "10gbase-x-sfpp", "10gbase-x-xfp",
    "10gbase-x-xenpak", "10gbase-x-x2", "25gbase-x-sfp28", "50gbase-x-sfp56", "40gbase-x-qsfpp", "50gbase-x-sfp28",
    "100gbase-x-cfp", "100gbase-x-cfp2", "100gbase-x-cfp4", "100gbase-x-cxp", "100gbase-x-cpak", "100gbase-x-dsfp",
    "100gbase-x-sfp112", "100gbase-x-sfpdd", "100gbase-x-qsfp28", "100gbase-x-qsfpdd", "200gbase-x-cfp2",
    "200gbase-x-qsfp56", "200gbase-x-qsfpdd", "400gbase-x-cfp2", "400gbase-x-qsfp112", "400gbase-x-qsfpdd",
    "400gbase-x-osfp", "400gbase-x-osfp-rhs", "400gbase-x-cdfp", "400gbase-x-cfp8", "800gbase-x-qsfpdd",
    "800gbase-x-osfp", "1.6tbase-x-osfp1600", "1.6tbase-x-osfp1600-rhs", "1.6tbase-x-qsfpdd1600",
    // backplane Ethernet
    "1000base-kx", "2.5gbase-kx", "5gbase-kr", "10gbase-kr", "10gbase-kx4", "25gbase-kr", "40gbase-kr4", "50gbase-kr",
    "100gbase-kp4", "100gbase-kr2", "100gbase-kr4", "1.6tbase-kr8",
    // wireless and cellular
    "ieee802.11a", "ieee802.11g", "ieee802.11n", "ieee802.11ac", "ieee802.11ad", "ieee802.11ax", "ieee802.11ay",
    "ieee802.11be", "ieee802.15.1", "ieee802.15.4", "other-wireless", "gsm", "cdma", "lte", "4g", "5g",
    // SONET, Fibre Channel
    "sonet-oc3", "sonet-oc12", "sonet-oc48", "sonet-oc192", "sonet-oc768", "sonet-oc1920", "sonet-oc3840", "1gfc-sfp",
    "2gfc-sfp", "4gfc-sfp", "8gfc-sfpp", "16gfc-sfpp", "32gfc-sfp28", "32gfc-sfpp", "64gfc-qsfpp", "64gfc-sfpdd",
    "64gfc-sfpp", "128gfc-qsfp28",
    // InfiniBand 1X and 4X
    "infiniband-sdr", "infiniband-ddr", "infiniband-qdr", "infiniband-fdr10", "infiniband-fdr", "infiniband-edr",
    "infiniband-hdr", "infiniband-ndr", "infiniband-xdr", "infiniband-sdr-4x", "infiniband-ddr-4x",
    "infiniband-qdr-4x", "infiniband-fdr10-4x", "infiniband-fdr-4x", "infiniband-edr-4x", "infiniband-hdr-4x",
    "infiniband-ndr-4x", "infiniband-xdr-4x",
    // serial, DSL, coaxial, PON
    "t1", "e1", "t3", "e3", "xdsl", "docsis", "moca", "bpon", "epon", "10g-epon", "gpon", "xg-pon", "xgs-pon",
    "ng-pon2", "25g-pon", "50g-pon",
    // other
    "other",
};

}  // namespace

bool isNetboxInterfaceType(std::string_view key) {
    for (const char* known : kInterfaceTypes)
        if (key == known) return true;
    return false;
}
