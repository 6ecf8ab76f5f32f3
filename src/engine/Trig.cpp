#include "engine/Trig.h"

namespace athanor::trig {

namespace {

// sin(k pi / 128), k = 0..64, each rounded to the nearest long double.
constexpr long double kQuarterSines[65] = {
    0.0L, 0xc90aafbd1b33efcap-69L, 0xc8fb2f886ec09f37p-68L,
    0x96a9049670cfae66p-67L, 0xc8bd35e14da15f0fp-67L, 0xfab272b54b9871a2p-67L,
    0x964083747309d113p-66L, 0xaf10a22459fe32a6p-66L, 0xc7c5c1e34d3055b2p-66L,
    0xe05c1353f27b17e5p-66L, 0xf8cfcbd90af8d57ap-66L, 0x888e93158fb3bb05p-65L,
    0x94a03176acf82d46p-65L, 0xa09ae4a0bb300a19p-65L, 0xac7cd3ad58fee7f1p-65L,
    0xb8442987d22cf577p-65L, 0xc3ef1535754b168dp-65L, 0xcf7bca1d476c516ep-65L,
    0xdae8804f0ae6015bp-65L, 0xe63374c98e22f0b4p-65L, 0xf15ae9c037b1d8f0p-65L,
    0xfc5d26dfc4d5cfdap-65L, 0x839c3cc917ff6cb5p-64L, 0x88f59aa0da591422p-64L,
    0x8e39d9cd73464365p-64L, 0x93682a66e896f545p-64L, 0x987fbfe70b81a708p-64L,
    0x9d7fd1490285c9e4p-64L, 0xa267992848eeb0c0p-64L, 0xa73655df1f2f489ep-64L,
    0xabeb49a46764fd15p-64L, 0xb085baa8e966f6dbp-64L, 0xb504f333f9de6484p-64L,
    0xb96841bf7ffcb21bp-64L, 0xbdaef913557d76f1p-64L, 0xc1d8705ffcbb6e91p-64L,
    0xc5e40358a8ba05a7p-64L, 0xc9d1124c931fda7bp-64L, 0xcd9f023f9c3a059ep-64L,
    0xd14d3d02313c0eedp-64L, 0xd4db3148750d181ap-64L, 0xd84852c0a80ffcdbp-64L,
    0xdb941a28cb71ec87p-64L, 0xdebe05637ca94cfbp-64L, 0xe1c5978c05ed8692p-64L,
    0xe4aa5909a08fa7b4p-64L, 0xe76bd7a1e63b9786p-64L, 0xea09a68a6e49cd62p-64L,
    0xec835e79946a3145p-64L, 0xeed89db66611e308p-64L, 0xf1090827b43725fdp-64L,
    0xf314476247088f75p-64L, 0xf4fa0ab6316ed2ecp-64L, 0xf6ba073b424b19e8p-64L,
    0xf853f7dc9186b953p-64L, 0xf9c79d63272c4628p-64L, 0xfb14be7fbae58156p-64L,
    0xfc3b27d38a5d49abp-64L, 0xfd3aabf84528b50cp-64L, 0xfe1323870cfe9a3ep-64L,
    0xfec46d1e89292cf0p-64L, 0xff4e6d680c41d0a9p-64L, 0xffb10f1bcb6bef1dp-64L,
    0xffec4304266865d9p-64L, 0x8000000000000000p-63L,
};

constexpr std::array<long double, 320> sineSteps() {
    std::array<long double, 320> t{};
    for (int k = 0; k < 320; ++k) {
        const int m = k % 256;
        t[k] = m <= 64 ? kQuarterSines[m] : m <= 128 ? kQuarterSines[128 - m] : m <= 192 ? -kQuarterSines[m - 128] : -kQuarterSines[256 - m];
    }
    return t;
}

}  // namespace

constinit const std::array<long double, 320> kSineSteps = sineSteps();

// atan(k / 128), k = 0..128, each rounded to the nearest long double.
const long double kArcTanSteps[129] = {
    0.0L, 0xfffeaaadddd4b968p-71L, 0xfffaaadddb94d5bcp-70L,
    0xbff700c252e1ad7ap-69L, 0xffeaaddd4bb12542p-69L, 0x9feb2f8b4e4ec8b9p-68L,
    0xbfdc0c2186d14fcfp-68L, 0xdfc6ef89ce221cecp-68L, 0xffaaddb967ef4e37p-68L,
    0x8fc36df8416ac6f7p-67L, 0x9facf873e2aceb59p-67L, 0xaf91927e96bd9315p-67L,
    0xbf70c13017887461p-67L, 0xcf4a0a9e7ee78b46p-67L, 0xdf1cf5f3783e1befp-67L,
    0xeee90b80f5d3732ap-67L, 0xfeadd4d5617b6e33p-67L, 0x87356e67a0440c52p-66L,
    0x8f0fd7d821b93726p-66L, 0x96e5ed97dd0ff98fp-66L, 0x9eb77746331362c3p-66L,
    0xa6843d4ed278ba3ep-66L, 0xae4c08f1f6134efbp-66L, 0xb60ea44c499ec6d7p-66L,
    0xbdcbda5e72d81134p-66L, 0xc58377143ce145ddp-66L, 0xcd35474b643130e8p-66L,
    0xd4e118da0193ca1dp-66L, 0xdc86ba9493051023p-66L, 0xe425fc53a1736e6ap-66L,
    0xebbeaef902b9b38dp-66L, 0xf350a474b7626b0dp-66L, 0xfadbafc96406eb15p-66L,
    0x812fd288332dad32p-65L, 0x84ee2cbec31b12c6p-65L, 0x88a8d1b1218e4d64p-65L,
    0x8c5fad185f8bc131p-65L, 0x9012ab3f23e4aee8p-65L, 0x93c1b902bf7a2df1p-65L,
    0x976cc3d411e7f1b9p-65L, 0x9b13b9b83f5e5e6ap-65L, 0x9eb689493889a227p-65L,
    0xa25521b615784d45p-65L, 0xa5ef72c34487361bp-65L, 0xa9856cca8e6a4edbp-65L,
    0xad1700baf07a7227p-65L, 0xb0a420184e7f0cb2p-65L, 0xb42cbcfafd37efb7p-65L,
    0xb7b0ca0f26f78474p-65L, 0xbb303a940ba80f89p-65L, 0xbeab025b1d9fbad4p-65L,
    0xc22115c6fcaebbafp-65L, 0xc59269ca50d92b6ep-65L, 0xc8fef3e686331221p-65L,
    0xcc66aa2a6b58c33dp-65L, 0xcfc98330b4000c70p-65L, 0xd327761e611fe5b6p-65L,
    0xd6807aa1102c5bf9p-65L, 0xd9d488ed32e3635cp-65L, 0xdd2399bc31252aa3p-65L,
    0xe06da64a764f7c68p-65L, 0xe3b2a8556b8fc517p-65L, 0xe6f29a19609a84bap-65L,
    0xea2d764f64315989p-65L, 0xed63382b0dda7b45p-65L, 0xf093db583a257f6ap-65L,
    0xf3bf5bf8bad1a21dp-65L, 0xf6e5b6a1fc21a702p-65L, 0xfa06e85aa0a0be5cp-65L,
    0xfd22ee981492c46bp-65L, 0x801ce39e0d205c9ap-64L, 0x81a5b84928244190p-64L,
    0x832bf4a6d9867e2ap-64L, 0x84af98430d2c7eeep-64L, 0x8630a2dada1ed066p-64L,
    0x87af145b3f14a801p-64L, 0x892aecdfde9547b5p-64L, 0x8aa42cb1bb234d69p-64L,
    0x8c1ad445f3e09b8cp-64L, 0x8d8ee43c8214276fp-64L, 0x8f005d5ef7f59f9bp-64L,
    0x906f409f411d8d0ep-64L, 0x91db8f1664f350e2p-64L, 0x93454a034b6d3074p-64L,
    0x94ac72c9847186f6p-64L, 0x96110af012232fd7p-64L, 0x97731420365e538cp-64L,
    0x98d2902443a5f282p-64L, 0x9a2f80e671bdda20p-64L, 0x9b89e86fb6281facp-64L,
    0x9ce1c8e6a0b8cdbap-64L, 0x9e37248e3c6e243dp-64L, 0x9f89fdc4f4b7a1edp-64L,
    0xa0da57037f52089fp-64L, 0xa22832dbcadaae09p-64L, 0xa37393f7f238af63p-64L,
    0xa4bc7d1934f70924p-64L, 0xa602f116f4a7247fp-64L, 0xa746f2ddb7602294p-64L,
    0xa888856e2f6c0924p-64L, 0xa9c7abdc4830f5c9p-64L, 0xab04694e3861a332p-64L,
    0xac3ec0fb997dd6a2p-64L, 0xad76b62c84a8bae6p-64L, 0xaeac4c38b4d8c080p-64L,
    0xafdf8686ae624f93p-64L, 0xb110688aebdc6f6ap-64L, 0xb23ef5c7105c7f85p-64L,
    0xb36b31c91f043691p-64L, 0xb495202ab7db53b3p-64L, 0xb5bcc49059ecc4b0p-64L,
    0xb6e222a8aa9d7790p-64L, 0xb8053e2bc2319e74p-64L, 0xb9261ada7d73d865p-64L,
    0xba44bc7dd470782fp-64L, 0xbb6126e636360233p-64L, 0xbc7b5deae98af281p-64L,
    0xbd9365697287ec63p-64L, 0xbea94144fd049aacp-64L, 0xbfbcf565cbc4c3fbp-64L,
    0xc0ce85b8ac526641p-64L, 0xc1ddf62e6f711099p-64L, 0xc2eb4abb661628b6p-64L,
    0xc3f68756e2d1510bp-64L, 0xc4ffaffabf8fbd55p-64L, 0xc606c8a2e7a4eb7dp-64L,
    0xc70bd54ce602ee14p-64L, 0xc80ed9f7778c3ad1p-64L, 0xc90fdaa22168c235p-64L,
};

}  // namespace athanor::trig
