#include "navigation/ChannelCatalog.h"

#include "navigation/SiteUrls.h"

namespace {

enum Lists : unsigned char { M = 1, F = 2, MF = M | F };

// Kinds of row; the partner site of a window row follows from its kind.
enum Kind : unsigned char { Page, Korbina, Ovego, SeeTv, System };

struct Row {
    const char16_t* name;
    Lists lists;
    Kind kind;
    // Page rows: a path relative to the program's directory, or "/..." on the project site.
    // Window rows: a path on the partner site.
    const char16_t* page;
    const char16_t* guide; // own programme page (main list only); nullptr: none of its own
    const char* stream;    // radio stations only
};

// Both lists come from this one table, in its order: a row marked M is in the main list, F in the
// favourites list, MF in both. Where the order of two rows of one name matters (the later page
// replaces the earlier one in the same view), the table keeps them in that order.
// clang-format off
constexpr Row kRows[] = {
    // partner windows that the favourites list opens before the local page of the same name
    {u"Россия 24", F, Korbina, u"/tv/russia24", nullptr, nullptr},
    {u"РБК", F, Korbina, u"/tv/rbc", nullptr, nullptr},
    {u"Мир ТВ", F, Korbina, u"/tv/mir", nullptr, nullptr},
    {u"Дождь ТВ", F, Korbina, u"/tv/dojd", nullptr, nullptr},
    {u"Союз", F, Korbina, u"/tv/soyuz", nullptr, nullptr},

    // channel\public
    {u"ОРТ", MF, Page, u"channel\\public\\ort.htm", u"channel\\tv-program\\public\\ort.htm", nullptr},
    {u"Россия 2", MF, Page, u"channel\\public\\russia-2.htm", nullptr, nullptr},
    {u"Россия 2", MF, Page, u"channel\\public\\russia-2.htm", u"channel\\tv-program\\public\\russia-2.htm", nullptr},
    {u"Россия 1", MF, Page, u"channel\\public\\rossiya-1.htm", u"channel\\tv-program\\public\\russia-1.htm", nullptr},
    {u"Москва 24", MF, Page, u"channel\\public\\moskva-24.htm", nullptr, nullptr},
    {u"НТВ", MF, Page, u"channel\\public\\ntv.htm", u"channel\\tv-program\\public\\ntv.htm", nullptr},
    {u"Ю", M, Page, u"channel\\public\\yu.htm", u"channel\\tv-program\\public\\muz-tv.htm", nullptr},
    {u"ТНТ", MF, Page, u"channel\\public\\tnt.htm", u"channel\\tv-program\\public\\tnt.htm", nullptr},
    {u"Россия К", MF, Page, u"channel\\public\\rossiya-k.htm", u"channel\\tv-program\\public\\russia-k.htm", nullptr},
    {u"Пятница", M, Page, u"channel\\public\\pyatnitsa.htm", u"channel\\tv-program\\public\\mtv.htm", nullptr},
    {u"СТС", MF, Page, u"channel\\public\\sts.htm", u"channel\\tv-program\\public\\sts.htm", nullptr},
    {u"Россия 24", MF, Page, u"channel\\public\\rossiya-24.htm", u"channel\\tv-program\\public\\russia-24.htm", nullptr},
    {u"ТВ-2", MF, Page, u"channel\\public\\tv-2.htm", nullptr, nullptr},
    {u"Перец", M, Page, u"channel\\public\\perets.htm", u"channel\\tv-program\\public\\dtv.htm", nullptr},
    {u"РБК", MF, Page, u"channel\\public\\rbk.htm", u"channel\\tv-program\\public\\rbk.htm", nullptr},
    {u"ТНВ", MF, Page, u"channel\\public\\tnv.htm", u"channel\\tv-program\\public\\tnv.htm", nullptr},
    {u"ТВЦ", MF, Page, u"channel\\public\\tvts.htm", u"channel\\tv-program\\public\\tvc.htm", nullptr},
    {u"РИА   Новости", MF, Page, u"channel\\public\\ria-novosti.htm", nullptr, nullptr},
    {u"Звезда", MF, Page, u"channel\\public\\zvezda.htm", u"channel\\tv-program\\public\\zvezda.htm", nullptr},
    {u"РТР   Планета", MF, Page, u"channel\\public\\rtr-planeta.htm", u"channel\\tv-program\\public\\rtr-planeta.htm", nullptr},
    {u"Euronews", MF, Page, u"channel\\public\\euronews.htm", u"channel\\tv-program\\public\\euronews.htm", nullptr},
    {u"Мир ТВ", MF, Page, u"channel\\public\\mir-tv.htm", u"channel\\tv-program\\public\\mir.htm", nullptr},
    {u"Домашний", MF, Page, u"channel\\public\\domashniy.htm", u"channel\\tv-program\\public\\home.htm", nullptr},
    {u"BBC CNN", MF, Page, u"channel\\public\\bbc-cnn.htm", nullptr, nullptr},
    {u"Рен ТВ", MF, Page, u"channel\\public\\ren-tv.htm", u"channel\\tv-program\\public\\rentv.htm", nullptr},
    {u"Russia   Today", MF, Page, u"channel\\public\\russia-today.htm", u"channel\\tv-program\\public\\russian-today.htm", nullptr},
    {u"ТВ-3", MF, Page, u"channel\\public\\tv-3.htm", u"channel\\tv-program\\public\\tv-3.htm", nullptr},
    {u"Союз", MF, Page, u"channel\\public\\soyuz.htm", nullptr, nullptr},
    {u"5 Канал", MF, Page, u"channel\\public\\5-kanal.htm", u"channel\\tv-program\\public\\channel-5.htm", nullptr},
    {u"ТРО Союз", M, Page, u"channel\\public\\tro-soyuz.htm", u"channel\\tv-program\\public\\channel-8.htm", nullptr},
    {u"ОТР ", M, Page, u"channel\\public\\otr.htm", u"channel\\tv-program\\public\\dojd.htm", nullptr},
    {u"Муз ТВ", F, Page, u"channel\\public\\muz-tv.htm", nullptr, nullptr},
    {u"MTV", F, Page, u"channel\\public\\mtv.htm", nullptr, nullptr},
    {u"ДТВ", F, Page, u"channel\\public\\dtv.htm", nullptr, nullptr},
    {u"Эксперт ТВ", F, Page, u"channel\\public\\ekspert-tv.htm", nullptr, nullptr},
    {u"ТВ Бульвар", F, Page, u"channel\\public\\tv-bulvar.htm", nullptr, nullptr},
    {u"8 Канал", F, Page, u"channel\\public\\8-kanal.htm", nullptr, nullptr},
    {u"Дождь ТВ", F, Page, u"channel\\public\\dozhd-tv.htm", nullptr, nullptr},

    // channel\music
    {u"A-one", MF, Page, u"channel\\music\\a-one.htm", u"channel\\tv-program\\music\\a-one.htm", nullptr},
    {u"RU TV", MF, Page, u"channel\\music\\ru-tv.htm", u"channel\\tv-program\\music\\ru-tv.htm", nullptr},
    {u"Bridge", M, Page, u"channel\\music\\bridge.htm", u"channel\\tv-program\\music\\ru-tv.htm", nullptr},
    {u"Music  Box", M, Page, u"channel\\music\\music-box.htm", u"channel\\tv-program\\music\\music-box.htm", nullptr},
    {u"Первый балтийский", MF, Page, u"channel\\music\\pervyy-baltiyskiy.htm", nullptr, nullptr},
    {u"Майдан", M, Page, u"channel\\music\\maydan.htm", u"channel\\tv-program\\music\\1-classic.htm", nullptr},
    {u"O2 ТВ", MF, Page, u"channel\\music\\o2-tv.htm", u"channel\\tv-program\\music\\o2tv.htm", nullptr},
    {u"Rusong", M, Page, u"channel\\music\\rusong.htm", nullptr, nullptr},
    {u"Fresh TV", MF, Page, u"channel\\music\\fresh-tv.htm", nullptr, nullptr},
    {u"4 music", M, Page, u"channel\\music\\4-music.htm", nullptr, nullptr},
    {u"Шансон ТВ", MF, Page, u"channel\\music\\shanson-tv.htm", u"channel\\tv-program\\music\\shanson.htm", nullptr},
    {u"Night Club", M, Page, u"channel\\music\\night-club.htm", nullptr, nullptr},
    {u"Monte Carlo TV", MF, Page, u"channel\\music\\monte-carlo-tv.htm", nullptr, nullptr},
    {u"Kiss TV", M, Page, u"channel\\music\\kiss-tv.htm", nullptr, nullptr},
    {u"RoMusic", M, Page, u"channel\\music\\romusic.htm", nullptr, nullptr},
    {u"RTL 102.5 TV", MF, Page, u"channel\\music\\rtl-102-5-tv.htm", nullptr, nullptr},
    {u"9 Волна", MF, Page, u"channel\\music\\9-volna.htm", nullptr, nullptr},
    {u"Nebiset", M, Page, u"channel\\music\\nebiset.htm", nullptr, nullptr},
    {u"Муз ТВ", M, Page, u"channel\\music\\muz-tv.htm", nullptr, nullptr},
    {u"Брио", M, Page, u"channel\\music\\brio.htm", nullptr, nullptr},
    {u"Bim TV", M, Page, u"channel\\music\\bim-tv.htm", nullptr, nullptr},
    {u"Европа плюс ТВ", MF, Page, u"channel\\music\\evropa-plyus-tv.htm", nullptr, nullptr},
    {u"Tuba TV", MF, Page, u"channel\\music\\tuba-tv.htm", nullptr, nullptr},
    {u"Radio 105 TV", M, Page, u"channel\\music\\radio-105-tv.htm", nullptr, nullptr},
    {u"Virgin TV", MF, Page, u"channel\\music\\virgin-tv.htm", nullptr, nullptr},
    {u"Deluxe Music", MF, Page, u"channel\\music\\deluxe-music.htm", nullptr, nullptr},
    {u"Retro", MF, Page, u"channel\\music\\retro.htm", nullptr, nullptr},
    {u"iMusic1  Rocks", MF, Page, u"channel\\music\\imusic1-rocks.htm", nullptr, nullptr},
    {u"Ru Music", M, Page, u"channel\\music\\ru-music.htm", nullptr, nullptr},
    {u"Rock TV", M, Page, u"channel\\music\\rock-tv.htm", nullptr, nullptr},
    {u"Music Box", F, Page, u"channel\\music\\music-box.htm", nullptr, nullptr},
    {u"1 Classic", F, Page, u"channel\\music\\1-classic.htm", nullptr, nullptr},
    {u"Hip Hop", F, Page, u"channel\\music\\hip-hop.htm", nullptr, nullptr},
    {u"Retro Hits", F, Page, u"channel\\music\\retro-hits.htm", nullptr, nullptr},
    {u"4 Fun TV", F, Page, u"channel\\music\\4-fun-tv.htm", nullptr, nullptr},
    {u"Hit music", F, Page, u"channel\\music\\hit-music.htm", nullptr, nullptr},
    {u"1-HD", F, Page, u"channel\\music\\1-hd.htm", nullptr, nullptr},
    {u"Legend", F, Page, u"channel\\music\\legend.htm", nullptr, nullptr},
    {u"NRG", F, Page, u"channel\\music\\nrg.htm", nullptr, nullptr},
    {u"Top 40", F, Page, u"channel\\music\\top-40.htm", nullptr, nullptr},
    {u"Disco 80", F, Page, u"channel\\music\\disco-80.htm", nullptr, nullptr},
    {u"Next Music", F, Page, u"channel\\music\\next-music.htm", nullptr, nullptr},
    {u"HD Music", F, Page, u"channel\\music\\hd-music.htm", nullptr, nullptr},
    {u"Dance TV", F, Page, u"channel\\music\\dance-tv.htm", nullptr, nullptr},
    {u"Rock TV 2", F, Page, u"channel\\music\\rock2.html", nullptr, nullptr},
    {u"muzpotok.example", F, Page, u"channel\\music\\muzpotok-example.htm", nullptr, nullptr},

    // channel\entertainment
    {u"Деревня дураков", MF, Page, u"channel\\entertainment\\derevnya-durakov.htm", nullptr, nullptr},
    {u"Еда ТВ", M, Page, u"channel\\entertainment\\eda-tv.htm", u"channel\\tv-program\\entertainments\\kyhnja.htm", nullptr},
    {u"Маски шоу", MF, Page, u"channel\\entertainment\\maski-shou.htm", nullptr, nullptr},
    {u"Юмор ТВ ", M, Page, u"channel\\entertainment\\yumor-tv.htm", nullptr, nullptr},
    {u"Усадьба ТВ", MF, Page, u"channel\\entertainment\\usadba-tv.htm", u"channel\\tv-program\\entertainments\\usadba.htm", nullptr},
    {u"Осторожно модерн", M, Page, u"channel\\entertainment\\ostorozhno-modern.htm", nullptr, nullptr},
    {u"Style TV", MF, Page, u"channel\\entertainment\\style-tv.htm", u"channel\\tv-program\\entertainments\\style.htm", nullptr},
    {u"Интернет канал", MF, Page, u"channel\\entertainment\\internet-kanal.htm", nullptr, nullptr},
    {u"Мистер Бин", MF, Page, u"channel\\entertainment\\mister-bin.htm", nullptr, nullptr},
    {u"И это хорошо", M, Page, u"channel\\entertainment\\i-eto-horosho.htm", nullptr, nullptr},
    {u"Прожектор Перисхолтон", MF, Page, u"channel\\entertainment\\prozhektor-perisholton.htm", nullptr, nullptr},
    {u"Luxury World", M, Page, u"channel\\entertainment\\luxury-world.htm", nullptr, nullptr},
    {u"Дамский клуб", M, Page, u"channel\\entertainment\\damskiy-klub.htm", u"channel\\tv-program\\entertainments\\tdk.htm", nullptr},
    {u"Живи ТВ", MF, Page, u"channel\\entertainment\\zhivi-tv.htm", u"channel\\tv-program\\entertainments\\givi.htm", nullptr},
    {u"Аквариум", MF, Page, u"channel\\entertainment\\akvarium.htm", nullptr, nullptr},
    {u"Fashion ONE", MF, Page, u"channel\\entertainment\\fashion-one.htm", u"channel\\tv-program\\entertainments\\fashion.htm", nullptr},
    {u"Cyber Game TV", M, Page, u"channel\\entertainment\\cyber-game-tv.htm", nullptr, nullptr},
    {u"Games", MF, Page, u"channel\\entertainment\\games.htm", nullptr, nullptr},
    {u"World Fashion", M, Page, u"channel\\entertainment\\world-fashion.htm", nullptr, nullptr},
    {u"Дом 2", MF, Page, u"channel\\entertainment\\dom-2.htm", nullptr, nullptr},
    {u"3D TV", MF, Page, u"channel\\entertainment\\3d-tv.htm", nullptr, nullptr},
    {u"Теледом", M, Page, u"channel\\entertainment\\teledom.htm", nullptr, nullptr},
    {u"TV Тур", MF, Page, u"channel\\entertainment\\tv-tur.htm", nullptr, nullptr},
    {u"Кухня ТВ", F, Page, u"channel\\entertainment\\kuhnya-tv.htm", nullptr, nullptr},
    {u"Юмор ТВ 2", F, Page, u"channel\\entertainment\\yumor-tv-2.htm", nullptr, nullptr},
    {u"Сампо ТВ", F, Page, u"channel\\entertainment\\sampo-tv.htm", nullptr, nullptr},
    {u"Comedy Club", F, Page, u"channel\\entertainment\\comedy-club.htm", nullptr, nullptr},
    {u"Streetbeat", F, Page, u"channel\\entertainment\\streetbeat.htm", nullptr, nullptr},
    {u"Info RU", F, Page, u"channel\\entertainment\\info-ru.htm", nullptr, nullptr},
    {u"Machinima", F, Page, u"channel\\entertainment\\machinima.htm", nullptr, nullptr},
    {u"Mega Game", F, Page, u"channel\\entertainment\\mega-game.htm", nullptr, nullptr},
    {u"Адская кухня", F, Page, u"channel\\entertainment\\adskaya-kuhnya.htm", nullptr, nullptr},
    {u"Tenretni", F, Page, u"channel\\entertainment\\tenretni.htm", nullptr, nullptr},
    {u"Media няня", F, Page, u"channel\\entertainment\\media-nyanya.htm", nullptr, nullptr},
    {u"HD Media", F, Page, u"channel\\entertainment\\hd-media.htm", nullptr, nullptr},
    {u"HD Media 3D", F, Page, u"channel\\entertainment\\hd-media-3d.htm", nullptr, nullptr},
    {u"21 плюс", F, Page, u"channel\\entertainment\\21-plyus.htm", nullptr, nullptr},
    {u"Тимофей Крендель", MF, Page, u"channel\\entertainment\\timofey-krendel.htm", nullptr, nullptr},
    {u"Алла Вертушкина", M, Page, u"channel\\entertainment\\alla-vertushkina.htm", nullptr, nullptr},

    // channel\records
    {u"Черный плащ", MF, Page, u"channel\\records\\chernyy-plasch.htm", nullptr, nullptr},
    {u"Губка Боб", MF, Page, u"channel\\records\\gubka-bob.htm", nullptr, nullptr},
    {u"Мега   машины", MF, Page, u"channel\\records\\mega-mashiny.htm", nullptr, nullptr},
    {u"Черепашки ниндзя", MF, Page, u"channel\\records\\cherepashki-nindzya.htm", nullptr, nullptr},
    {u"Аладдин", MF, Page, u"channel\\records\\aladdin.htm", nullptr, nullptr},
    {u"Утиные истории", MF, Page, u"channel\\records\\utinye-istorii.htm", nullptr, nullptr},
    {u"Чип и Деил", M, Page, u"channel\\records\\chip-i-deil.htm", nullptr, nullptr},
    {u"Червяк джим", MF, Page, u"channel\\records\\chervyak-dzhim.htm", nullptr, nullptr},
    {u"Чудеса на виражах", MF, Page, u"channel\\records\\chudesa-na-virazhah.htm", nullptr, nullptr},
    {u"Мишки Гамми", MF, Page, u"channel\\records\\mishki-gammi.htm", nullptr, nullptr},
    {u"Маша и медведь", MF, Page, u"channel\\records\\masha-i-medved.htm", nullptr, nullptr},
    {u"Охотники за привид.", MF, Page, u"channel\\records\\ohotniki-za-privid.htm", nullptr, nullptr},
    {u"Тимон и Пумба", MF, Page, u"channel\\records\\timon-i-pumba.htm", nullptr, nullptr},
    {u"Время приключений", M, Page, u"channel\\records\\vremya-priklyucheniy.htm", nullptr, nullptr},
    {u"Гуффи", MF, Page, u"channel\\records\\guffi.htm", nullptr, nullptr},
    {u"Бернард", MF, Page, u"channel\\records\\bernard.htm", nullptr, nullptr},
    {u"Разрушит. мифов", MF, Page, u"channel\\records\\razrushit-mifov.htm", nullptr, nullptr},
    {u"Пингвины Мадагаск.", MF, Page, u"channel\\records\\pingviny-madagask.htm", nullptr, nullptr},
    {u"Русалочка", MF, Page, u"channel\\records\\rusalochka.htm", nullptr, nullptr},
    {u"Канобу", MF, Page, u"channel\\records\\kanobu.htm", nullptr, nullptr},
    {u"Бивис и Батхед", MF, Page, u"channel\\records\\bivis-i-bathed.htm", nullptr, nullptr},
    {u"Винни Пух", MF, Page, u"channel\\records\\vinni-puh.htm", nullptr, nullptr},
    {u"Назад в СССР", MF, Page, u"channel\\records\\nazad-v-sssr.htm", nullptr, nullptr},
    {u"Симпсоны", MF, Page, u"channel\\records\\simpsony.htm", nullptr, nullptr},
    {u"Футурама", MF, Page, u"channel\\records\\futurama.htm", nullptr, nullptr},
    {u"Ералаш", MF, Page, u"channel\\records\\eralash.htm", nullptr, nullptr},
    {u"Южный парк", MF, Page, u"channel\\records\\yuzhnyy-park.htm", nullptr, nullptr},
    {u"Скуби Ду", MF, Page, u"channel\\records\\skubi-du.htm", nullptr, nullptr},
    {u"Винкс", F, Page, u"channel\\records\\vinks.htm", nullptr, nullptr},

    // channel\records\animal
    {u"Дикий мир", F, Page, u"channel\\records\\animal\\1.htm", nullptr, nullptr},

    // channel\records\history
    {u"История", F, Page, u"channel\\records\\history\\1.htm", nullptr, nullptr},

    // channel\records\Megabuilders
    {u"Мега стройки", F, Page, u"channel\\records\\Megabuilders\\1.htm", nullptr, nullptr},

    // channel\records\nauka.2.0
    {u"Наука 2.0", F, Page, u"channel\\records\\nauka.2.0\\1.htm", nullptr, nullptr},

    // channel\records\space
    {u"Космос", F, Page, u"channel\\records\\space\\1.htm", nullptr, nullptr},

    // channel\mults
    {u"Барашек Шон", MF, Page, u"channel\\mults\\barashek-shon.htm", nullptr, nullptr},
    {u"Том и Джери", MF, Page, u"channel\\mults\\tom-i-dzheri.htm", nullptr, nullptr},
    {u"Disney", MF, Page, u"channel\\mults\\disney.htm", nullptr, nullptr},
    {u"2x2", MF, Page, u"channel\\mults\\2x2.htm", nullptr, nullptr},
    {u"Моряк Попай", M, Page, u"channel\\mults\\moryak-popay.htm", nullptr, nullptr},
    {u"Cartoon", MF, Page, u"channel\\mults\\cartoon.htm", u"channel\\tv-program\\mults\\cartoon.htm", nullptr},
    {u"Лунтик", M, Page, u"channel\\mults\\luntik.htm", nullptr, nullptr},
    {u"Барбарики ТВ", MF, Page, u"channel\\mults\\barbariki-tv.htm", nullptr, nullptr},
    {u"Nickelodeon", MF, Page, u"channel\\mults\\nickelodeon.htm", u"channel\\tv-program\\mults\\nickelodeon.htm", nullptr},
    {u"Любимое ТВ", M, Page, u"channel\\mults\\lyubimoe-tv.htm", nullptr, nullptr},
    {u"Советские мультики", MF, Page, u"channel\\mults\\sovetskie-multiki.htm", nullptr, nullptr},
    {u"Карусель", MF, Page, u"channel\\mults\\karusel.htm", u"channel\\tv-program\\mults\\carousel.htm", nullptr},
    {u"Про крота", MF, Page, u"channel\\mults\\pro-krota.htm", nullptr, nullptr},
    {u"Simon\"s Cat", M, Page, u"channel\\mults\\simon-s-cat.htm", nullptr, nullptr},
    {u"Улыбка ребенка", MF, Page, u"channel\\mults\\ulybka-rebenka.htm", nullptr, nullptr},
    {u"Царь горы", MF, Page, u"channel\\mults\\tsar-gory.htm", nullptr, nullptr},
    {u"Bugs Bunny", MF, Page, u"channel\\mults\\bugs-bunny.htm", nullptr, nullptr},
    {u"Мультики", M, Page, u"channel\\mults\\multiki.htm", u"channel\\tv-program\\mults\\The childern world.htm", nullptr},
    {u"Мультик ТВ", M, Page, u"channel\\mults\\multic-tv.htm", nullptr, nullptr},
    {u"Мультик ТВ", F, Page, u"channel\\mults\\multiki.htm", nullptr, nullptr},
    {u"Черепашки ниндзя", MF, Page, u"channel\\mults\\cherepashki-nindzya.htm", nullptr, nullptr},
    {u"Детский   телеканал", MF, Page, u"channel\\mults\\detskiy-telekanal.htm", nullptr, nullptr},
    {u"Смешарики", M, Page, u"channel\\mults\\smeshariki.htm", nullptr, nullptr},
    {u"Шоу Кливленда", MF, Page, u"channel\\mults\\shou-klivlenda.htm", nullptr, nullptr},
    {u"Гриффины", MF, Page, u"channel\\mults\\griffiny.htm", nullptr, nullptr},
    {u"Робоцып", M, Page, u"channel\\mults\\robotsyp.htm", nullptr, nullptr},
    {u"Американский папаша", M, Page, u"channel\\mults\\amerikanskiy-papasha.htm", nullptr, nullptr},
    {u"Сова ТВ", F, Page, u"channel\\mults\\sova-tv.htm", nullptr, nullptr},
    {u"МГА Мульт", F, Page, u"channel\\mults\\mga-mult.htm", nullptr, nullptr},
    {u"Мультики Disney", F, Page, u"channel\\mults\\multiki-disney.htm", nullptr, nullptr},
    {u"Детский   мир", F, Page, u"channel\\mults\\detskiy-mir.htm", nullptr, nullptr},
    {u"Мультимания", F, Page, u"channel\\mults\\multimaniya.htm", nullptr, nullptr},
    {u"Джимми Нейтрон", F, Page, u"channel\\mults\\dzhimmi-neytron.htm", nullptr, nullptr},
    {u"Эй Арнольд!", F, Page, u"channel\\mults\\ey-arnold.htm", nullptr, nullptr},
    {u"Avatar", F, Page, u"channel\\mults\\avatar.htm", nullptr, nullptr},
    {u"Adult Mult", F, Page, u"channel\\mults\\adult-mult.htm", nullptr, nullptr},
    {u"Мульт реалии", F, Page, u"channel\\mults\\mult-realii.htm", nullptr, nullptr},
    {u"Фрол Пуговкин", F, Page, u"channel\\mults\\frol-pugovkin.htm", nullptr, nullptr},

    // channel\records, after the cartoon page of the same name
    {u"Гриффины", MF, Page, u"channel\\records\\griffiny.htm", nullptr, nullptr},

    // channel\sciences
    {u"Как это работает", MF, Page, u"channel\\sciences\\kak-eto-rabotaet.htm", nullptr, nullptr},
    {u"Animal  Planet", MF, Page, u"channel\\sciences\\animal-planet.htm", u"channel\\tv-program\\sciences\\animal-planet.htm", nullptr},
    {u"Discovery Channel", MF, Page, u"channel\\sciences\\discovery-channel.htm", u"channel\\tv-program\\sciences\\discovery-channel.htm", nullptr},
    {u"Галилео", MF, Page, u"channel\\sciences\\galileo.htm", nullptr, nullptr},
    {u"Viasat Explorer", MF, Page, u"channel\\sciences\\viasat-explorer.htm", u"channel\\tv-program\\sciences\\viasat-explorer.htm", nullptr},
    {u"Discovery Science", MF, Page, u"channel\\sciences\\discovery-science.htm", u"channel\\tv-program\\sciences\\discovery-science.htm", nullptr},
    {u"Мир танков", MF, Page, u"channel\\sciences\\mir-tankov.htm", nullptr, nullptr},
    {u"Viasat  History", MF, Page, u"channel\\sciences\\viasat-history.htm", u"channel\\tv-program\\sciences\\viasat-history.htm", nullptr},
    {u"Nat  Geo  Wild", MF, Page, u"channel\\sciences\\nat-geo-wild.htm", u"channel\\tv-program\\sciences\\nat-geo.htm", nullptr},
    {u"Просвещение", MF, Page, u"channel\\sciences\\prosveschenie.htm", u"channel\\tv-program\\sciences\\prosveshenie.htm", nullptr},
    {u"Моя планета", M, Page, u"channel\\sciences\\moya-planeta.htm", u"channel\\tv-program\\sciences\\moya-planeta.htm", nullptr},
    {u"Запретная история", MF, Page, u"channel\\sciences\\zapretnaya-istoriya.htm", nullptr, nullptr},
    {u"Знание", MF, Page, u"channel\\sciences\\znanie.htm", u"channel\\tv-program\\sciences\\znanie.htm", nullptr},
    {u"24 техно", MF, Page, u"channel\\sciences\\24-tehno.htm", u"channel\\tv-program\\public\\tnv.htm", nullptr},
    {u"Наука 2.0.", M, Page, u"channel\\sciences\\nauka-2-0.htm", u"channel\\tv-program\\sciences\\moya-planeta.htm", nullptr},
    {u"Популярная наука", MF, Page, u"channel\\sciences\\populyarnaya-nauka.htm", nullptr, nullptr},
    {u"Сов Сек", M, Page, u"channel\\sciences\\sov-sek.htm", nullptr, nullptr},
    {u"Нано ТВ", M, Page, u"channel\\sciences\\nano-tv.htm", nullptr, nullptr},
    {u"Dog channel", MF, Page, u"channel\\sciences\\dog-channel.htm", nullptr, nullptr},
    {u"AmLife", MF, Page, u"channel\\sciences\\amlife.htm", nullptr, nullptr},
    {u"Viasat Nature", F, Page, u"channel\\sciences\\viasat-nature.htm", nullptr, nullptr},
    {u"National Gegraphic", F, Page, u"channel\\sciences\\national-gegraphic.htm", nullptr, nullptr},
    {u"Наука 2.0", F, Page, u"channel\\sciences\\nauka-2-0.htm", nullptr, nullptr},
    {u"На пределе", F, Page, u"channel\\sciences\\na-predele.htm", nullptr, nullptr},
    {u"Наука и жизнь", F, Page, u"channel\\sciences\\nauka-i-zhizn.htm", nullptr, nullptr},
    {u"О животных", F, Page, u"channel\\sciences\\o-zhivotnyh.htm", nullptr, nullptr},
    {u"HD Travel", F, Page, u"channel\\sciences\\hd-travel.htm", nullptr, nullptr},
    {u"Зоопарк", F, Page, u"channel\\sciences\\zoopark.htm", nullptr, nullptr},
    {u"Вопросы и ответы", F, Page, u"channel\\sciences\\voprosy-i-otvety.htm", nullptr, nullptr},
    {u"HD Process", F, Page, u"channel\\sciences\\hd-process.htm", nullptr, nullptr},

    // channel\sport
    {u"Рыбалка ТВ", MF, Page, u"channel\\sport\\rybalka-tv.htm", nullptr, nullptr},
    {u"Спорт 1", MF, Page, u"channel\\sport\\sport-1.htm", u"channel\\tv-program\\sport\\sport1-rus.htm", nullptr},
    {u"Автоплюс", MF, Page, u"channel\\sport\\avtoplyus.htm", u"channel\\tv-program\\sport\\auto+.htm", nullptr},
    {u"Eurosport", MF, Page, u"channel\\sport\\eurosport.htm", u"channel\\tv-program\\sport\\eurosport1.htm", nullptr},
    {u"Русский extreme", M, Page, u"channel\\sport\\russkiy-extreme.htm", nullptr, nullptr},
    {u"Драйв", MF, Page, u"channel\\sport\\drayv.htm", u"channel\\tv-program\\sport\\drive.htm", nullptr},
    {u"Eurosport 2", MF, Page, u"channel\\sport\\eurosport-2.htm", u"channel\\tv-program\\sport\\eurosport2.htm", nullptr},
    {u"Оружие", M, Page, u"channel\\sport\\oruzhie.htm", u"channel\\tv-program\\public\\tnv.htm", nullptr},
    {u"Боец", M, Page, u"channel\\sport\\boets.htm", nullptr, nullptr},
    {u"Наш футбол", M, Page, u"channel\\sport\\nash-futbol.htm", nullptr, nullptr},
    {u"НТВ Спорт Онлайн", MF, Page, u"channel\\sport\\ntv-sport-onlayn.htm", u"channel\\tv-program\\sport\\ntv-sport-online.htm", nullptr},
    {u"WWE", MF, Page, u"channel\\sport\\wwe.htm", nullptr, nullptr},
    {u"Extreme Sport", MF, Page, u"channel\\sport\\extreme-sport.htm", u"channel\\tv-program\\sport\\extrime-sport.htm", nullptr},
    {u"  НТВ   футбол", MF, Page, u"channel\\sport\\ntv-futbol.htm", u"channel\\tv-program\\sport\\ntv-football.htm", nullptr},
    {u"HD Extrime", MF, Page, u"channel\\sport\\hd-extrime.htm", nullptr, nullptr},
    {u"   НТВ    Спорт", MF, Page, u"channel\\sport\\ntv-sport.htm", u"channel\\tv-program\\sport\\ntv-sport.htm", nullptr},
    {u"Подводная охота", M, Page, u"channel\\sport\\podvodnaya-ohota.htm", u"channel\\tv-program\\sport\\nash-football.htm", nullptr},
    {u"Охота и рыбалка", MF, Page, u"channel\\sport\\ohota-i-rybalka.htm", u"channel\\tv-program\\sport\\ohota.htm", nullptr},
    {u"Футбол", M, Page, u"channel\\sport\\futbol.htm", u"channel\\tv-program\\sport\\ntv-tennis.htm", nullptr},
    {u"КХЛ", M, Page, u"channel\\sport\\khl.htm", nullptr, nullptr},
    {u"Покер", MF, Page, u"channel\\sport\\poker.htm", nullptr, nullptr},
    {u"Pro Wrestling TV", M, Page, u"channel\\sport\\pro-wrestling-tv.htm", nullptr, nullptr},
    {u"Старт", F, Page, u"channel\\sport\\start.htm", nullptr, nullptr},
    {u"Хоккей", F, Page, u"channel\\sport\\hokkey.htm", nullptr, nullptr},
    {u"Бойцовский клуб", F, Page, u"channel\\sport\\boytsovskiy-klub.htm", nullptr, nullptr},
    {u"  1-авто     RU", F, Page, u"channel\\sport\\1-avto-ru.htm", nullptr, nullptr},
    {u" Наш   Футбол", F, Page, u"channel\\sport\\nash-futbol.htm", nullptr, nullptr},
    {u"Бои", F, Page, u"channel\\sport\\boi.htm", nullptr, nullptr},
    {u"Viasat Sport", F, Page, u"channel\\sport\\viasat-sport.htm", nullptr, nullptr},
    {u"Подсекай", F, Page, u"channel\\sport\\podsekay.htm", nullptr, nullptr},
    {u"НТВ Баскетбол", F, Page, u"channel\\sport\\ntv-basketbol.htm", nullptr, nullptr},
    {u"Футбол 2", F, Page, u"channel\\sport\\futbol-2.htm", nullptr, nullptr},
    {u"  НТВ   Теннис", F, Page, u"channel\\sport\\ntv-tennis.htm", nullptr, nullptr},
    {u"   КХЛ     Тест", F, Page, u"channel\\sport\\khl-test.htm", nullptr, nullptr},

    // channel\Films
    {u"ТВ1000", MF, Page, u"channel\\Films\\tv1000.htm", u"channel\\tv-program\\films\\tv1000rus.htm", nullptr},
    {u"НСТ", M, Page, u"channel\\Films\\nst.htm", u"channel\\tv-program\\films\\syfy.htm", nullptr},
    {u"Феникс кино", M, Page, u"channel\\Films\\feniks-kino.htm", nullptr, nullptr},
    {u"AXN Sci-Fi", MF, Page, u"channel\\Films\\axn-sci-fi.htm", u"channel\\tv-program\\films\\sci-fi.htm", nullptr},
    {u"ТВ-21", M, Page, u"channel\\Films\\tv-21.htm", u"channel\\tv-program\\films\\kinosouz.htm", nullptr},
    {u"ТВ1000 рус. кино", MF, Page, u"channel\\Films\\tv1000-rus-kino.htm", u"channel\\tv-program\\films\\tv1000rus.htm", nullptr},
    {u"Sony", MF, Page, u"channel\\Films\\sony.htm", u"channel\\tv-program\\films\\sony.htm", nullptr},
    {u"Дом кино", M, Page, u"channel\\Films\\dom-kino.htm", u"channel\\tv-program\\films\\premiere.htm", nullptr},
    {u"РусФильм", M, Page, u"channel\\Films\\rusfilm.htm", u"channel\\tv-program\\films\\premiere.htm", nullptr},
    {u"HD Media", M, Page, u"channel\\Films\\HD-media.htm", u"channel\\tv-program\\films\\kinoklub.htm", nullptr},
    {u"ВКТ", MF, Page, u"channel\\Films\\vkt.htm", nullptr, nullptr},
    {u"Фильмы", M, Page, u"channel\\Films\\filmy.htm", u"channel\\tv-program\\films\\novoe-kino.htm", nullptr},
    {u"Кинодрайв", M, Page, u"channel\\Films\\kinodrayv.htm", u"channel\\tv-program\\films\\fox-crime.htm", nullptr},
    {u"Киношторм", M, Page, u"channel\\Films\\kinoshtorm.htm", nullptr, nullptr},
    {u"Кино РФ", M, Page, u"channel\\Films\\kino-rf.htm", u"channel\\tv-program\\films\\fox-life.htm", nullptr},
    {u"Еврокино", MF, Page, u"channel\\Films\\evrokino.htm", u"channel\\tv-program\\films\\eurokino.htm", nullptr},
    {u"Альф", MF, Page, u"channel\\Films\\alf.htm", nullptr, nullptr},
    {u"ТВ трейлер", M, Page, u"channel\\Films\\tv-treyler.htm", u"channel\\tv-program\\films\\india.htm", nullptr},
    {u"Эхо фильм", M, Page, u"channel\\Films\\eho-film.htm", nullptr, nullptr},
    {u"Тивиком", M, Page, u"channel\\Films\\tivikom.htm", nullptr, nullptr},
    {u"Мистик ТВ", M, Page, u"channel\\Films\\mistik-tv.htm", nullptr, nullptr},
    {u"ДетФильм", M, Page, u"channel\\Films\\detfilm.htm", u"channel\\tv-program\\films\\premiere.htm", nullptr},
    {u"Премьера   ТВ", MF, Page, u"channel\\Films\\premera-tv.htm", nullptr, nullptr},
    {u"Фитиль", MF, Page, u"channel\\Films\\fitil.htm", nullptr, nullptr},
    {u"Syfy", F, Page, u"channel\\Films\\syfy.htm", nullptr, nullptr},
    {u"НТВ   Кинохит", F, Page, u"channel\\Films\\ntv-kinohit.htm", nullptr, nullptr},
    {u"ТВ1000 action", F, Page, u"channel\\Films\\tv1000-action.htm", nullptr, nullptr},
    {u"НТВ Киносоюз", F, Page, u"channel\\Films\\ntv-kinosoyuz.htm", nullptr, nullptr},
    {u"НТВ   Премьера", F, Page, u"channel\\Films\\ntv-premera.htm", nullptr, nullptr},
    {u"НТВ Киноклуб", F, Page, u"channel\\Films\\ntv-kinoklub.htm", nullptr, nullptr},
    {u"MGM", F, Page, u"channel\\Films\\mgm.htm", nullptr, nullptr},
    {u"НТВ Новое кино", F, Page, u"channel\\Films\\ntv-novoe-kino.htm", nullptr, nullptr},
    {u"Дом Кино", F, Page, u"channel\\Films\\dom-kino.htm", nullptr, nullptr},
    {u"Fox Crime", F, Page, u"channel\\Films\\fox-crime.htm", nullptr, nullptr},
    {u"Кино Drive", F, Page, u"channel\\Films\\kino-drive.htm", nullptr, nullptr},
    {u"Fox Life", F, Page, u"channel\\Films\\fox-life.htm", nullptr, nullptr},
    {u"MGA романтика", F, Page, u"channel\\Films\\mga-romantika.htm", nullptr, nullptr},
    {u"Индия ТВ", F, Page, u"channel\\Films\\indiya-tv.htm", nullptr, nullptr},
    {u"Друзья", F, Page, u"channel\\Films\\druzya.htm", nullptr, nullptr},
    {u"Много ТВ", F, Page, u"channel\\Films\\mnogo-tv.htm", nullptr, nullptr},
    {u"Нарком Фильм", F, Page, u"channel\\Films\\narkom-film.htm", nullptr, nullptr},
    {u"Клиника", F, Page, u"channel\\Films\\klinika.htm", nullptr, nullptr},
    {u"Эгоист", F, Page, u"channel\\Films\\egoist.htm", nullptr, nullptr},

    // channel\radio-program: the stations in the order of their slots, then two plain pages
    {u"DFM", M, Page, u"channel\\radio-program\\dfm.htm", nullptr, "http://stream.dfm.example:8000/dfm_128"},
    {u"Европа+", M, Page, u"channel\\radio-program\\europa.htm", nullptr, "http://live.europa-radio.example:8000/europa_128"},
    {u"Maximum", M, Page, u"channel\\radio-program\\maximum.htm", nullptr, "http://icecast.maximum.example:8000/maximum_128"},
    {u"Music Sity", M, Page, u"channel\\radio-program\\music-city.htm", nullptr, "http://radio-musiccity.stream.example:8000/musiccity_128"},
    {u"Record", M, Page, u"channel\\radio-program\\record.htm", nullptr, "http://stream.record.example:8000/record_128"},
    {u"Русское Радио", M, Page, u"channel\\radio-program\\russkoe-radio.htm", nullptr, "http://live.russkoeradio-radio.example/listen/russkoeradio.m3u"},
    {u"Радио Маяк", M, Page, u"channel\\radio-program\\mayk.htm", nullptr, "http://icecast.mayk.example:8000/mayk_128"},
    {u"NRJ", M, Page, u"channel\\radio-program\\nrj.htm", nullptr, "http://radio-nrj.stream.example:8000/nrj_128"},
    {u"Радио   ULTRA", M, Page, u"channel\\radio-program\\ultra.htm", nullptr, "http://stream.ultra.example:8000/ultra_128"},
    {u"Романтика", M, Page, u"channel\\radio-program\\romantica.htm", nullptr, "http://live.romantica-radio.example:8000/romantica_128"},
    {u"Милицейская волна", M, Page, u"channel\\radio-program\\volna.htm", nullptr, "http://icecast.volna.example:8000/volna_128"},
    {u"Дорожное Радио", M, Page, u"channel\\radio-program\\dorognoe.htm", nullptr, "http://radio-dorognoe.stream.example:8000/dorognoe_128"},
    {u"Шансон", M, Page, u"channel\\radio-program\\shanson.htm", nullptr, "http://stream.shanson.example/listen/shanson.m3u"},
    {u"Радио Ваня", M, Page, u"channel\\radio-program\\monte-karlo.htm", nullptr, "http://live.montekarlo-radio.example:8000/montekarlo_128"},
    {u"Русский Хит", M, Page, u"channel\\radio-program\\da4a.htm", nullptr, "http://icecast.da4a.example:8000/da4a_128"},
    {u"Серебр. Дождь", M, Page, u"channel\\radio-program\\dogd.htm", nullptr, "http://radio-dogd.stream.example:8000/dogd_128"},
    {u"Di FM Vocal trance", M, Page, u"channel\\radio-program\\vokal-trans.htm", nullptr, "http://stream.vokaltrans.example:8000/vokaltrans_128"},
    {u"Retro ", M, Page, u"channel\\radio-program\\retro.htm", nullptr, "http://live.retro-radio.example:8000/retro_128"},
    // a station whose page is on the project site
    {u"Зайцев ФМ", M, Page, u"/start11", nullptr, "http://icecast.zaytsevfm.example:8000/zaytsevfm_128"},
    {u"Радио Шторм", M, Page, u"channel\\radio-program\\shtorm.htm", nullptr, "http://radio-shtorm.stream.example/listen/shtorm.m3u"},
    {u"Хит ФМ", M, Page, u"channel\\radio-program\\hit-fm.htm", nullptr, "http://stream.hitfm.example:8000/hitfm_128"},
    {u"Эхо Москвы", M, Page, u"channel\\radio-program\\eho-moskvy.htm", nullptr, nullptr},
    {u"Детское Радио", M, Page, u"channel\\radio-program\\detskoe.htm", nullptr, "http://live.detskoe-radio.example:8000/detskoe_128"},
    {u"Москва 400", M, Page, u"channel\\radio-program\\moskau-400.htm", nullptr, nullptr},
    {u"Москва 400", F, Page, u"channel\\radio-program\\moskva400.html", nullptr, nullptr},

    // channel\Ukraine
    {u"ТВі", MF, Page, u"channel\\Ukraine\\tvi.htm", nullptr, nullptr},
    {u"1+1", M, Page, u"channel\\Ukraine\\1-plus-1.htm", nullptr, nullptr},
    {u"Н Канал", MF, Page, u"channel\\Ukraine\\n-kanal.htm", nullptr, nullptr},
    {u"2+2", M, Page, u"channel\\Ukraine\\2-plus-2.htm", nullptr, nullptr},
    {u"RENOME", M, Page, u"channel\\Ukraine\\renome.htm", nullptr, nullptr},
    {u"ОТБ", M, Page, u"channel\\Ukraine\\otb.htm", nullptr, nullptr},
    {u"Интер", MF, Page, u"channel\\Ukraine\\inter.htm", nullptr, nullptr},
    {u"5 канал", M, Page, u"channel\\Ukraine\\channel-5.htm", nullptr, nullptr},
    {u"5 канал", F, Page, u"channel\\Ukraine\\5-channel.htm", nullptr, nullptr},
    {u"ICTV", M, Page, u"channel\\Ukraine\\ictv.htm", nullptr, nullptr},
    {u"Zik", MF, Page, u"channel\\Ukraine\\zik.htm", nullptr, nullptr},
    {u"UA-Net", MF, Page, u"channel\\Ukraine\\ua-net.htm", nullptr, nullptr},
    {u"СТБ", M, Page, u"channel\\Ukraine\\stb.htm", nullptr, nullptr},
    {u"ТРК Украина", M, Page, u"channel\\Ukraine\\trk-ukraina.htm", nullptr, nullptr},
    {u"Channel 12", MF, Page, u"channel\\Ukraine\\channel-12.htm", nullptr, nullptr},
    {u"Планета", M, Page, u"channel\\Ukraine\\planeta.htm", nullptr, nullptr},
    {u"tonis", M, Page, u"channel\\Ukraine\\tonis.htm", nullptr, nullptr},
    {u"Business", M, Page, u"channel\\Ukraine\\business.htm", nullptr, nullptr},
    {u"27 канал", M, Page, u"channel\\Ukraine\\27-kanal.htm", nullptr, nullptr},
    {u"ТЕТ", M, Page, u"channel\\Ukraine\\tet.htm", nullptr, nullptr},
    {u"K1", MF, Page, u"channel\\Ukraine\\k1.htm", nullptr, nullptr},
    {u"4 TV", M, Page, u"channel\\Ukraine\\4-tv.htm", nullptr, nullptr},
    {u"Погода", M, Page, u"channel\\Ukraine\\pogoda.htm", nullptr, nullptr},
    {u"100 News", MF, Page, u"channel\\Ukraine\\100-news.htm", nullptr, nullptr},
    {u"Нова Волинь", M, Page, u"channel\\Ukraine\\nova-volin.htm", nullptr, nullptr},
    {u"УНТ", F, Page, u"channel\\Ukraine\\unt.htm", nullptr, nullptr},
    {u"Запорожье", F, Page, u"channel\\Ukraine\\zaporozhe.htm", nullptr, nullptr},
    {u"Тиса", F, Page, u"channel\\Ukraine\\tisa.htm", nullptr, nullptr},
    {u"OTV Music", F, Page, u"channel\\Ukraine\\otv-music.htm", nullptr, nullptr},
    {u"Star TV", F, Page, u"channel\\Ukraine\\star-tv.htm", nullptr, nullptr},
    {u"НТН", F, Page, u"channel\\Ukraine\\ntn.htm", nullptr, nullptr},
    {u"Гамма", F, Page, u"channel\\Ukraine\\gamma.htm", nullptr, nullptr},
    {u"Pehome TV", F, Page, u"channel\\Ukraine\\pehome-tv.htm", nullptr, nullptr},
    {u"Первый деловой", F, Page, u"channel\\Ukraine\\pervyy-delovoy.htm", nullptr, nullptr},
    {u"УБР", F, Page, u"channel\\Ukraine\\ubr.htm", nullptr, nullptr},
    {u"Алекс ТВ", F, Page, u"channel\\Ukraine\\aleks-tv.htm", nullptr, nullptr},
    {u"Вита ТВ", F, Page, u"channel\\Ukraine\\vita-tv.htm", nullptr, nullptr},
    {u"М1", F, Page, u"channel\\Ukraine\\m1.htm", nullptr, nullptr},
    {u"К2", F, Page, u"channel\\Ukraine\\k2.htm", nullptr, nullptr},
    {u"M2", F, Page, u"channel\\Ukraine\\m2.htm", nullptr, nullptr},

    // channel\Georgia
    {u"Первый канал", M, Page, u"channel\\Georgia\\pervyy-kanal.htm", nullptr, nullptr},
    {u"Аджара", M, Page, u"channel\\Georgia\\adzhara.htm", nullptr, nullptr},
    {u"Comedy Channel", M, Page, u"channel\\Georgia\\comedy-channel.htm", nullptr, nullptr},
    {u"TV3", M, Page, u"channel\\Georgia\\tv3.htm", nullptr, nullptr},
    {u"Rustavi 2", MF, Page, u"channel\\Georgia\\rustavi-2.htm", nullptr, nullptr},
    {u"Имеди", M, Page, u"channel\\Georgia\\imedi.htm", nullptr, nullptr},
    {u"Имеди", F, Page, u"channel\\Georgia\\Imedi.htm", nullptr, nullptr},
    {u"Канал 1", F, Page, u"channel\\Georgia\\kanal-1.htm", nullptr, nullptr},
    {u"Stereo 1", F, Page, u"channel\\Georgia\\stereo-1.htm", nullptr, nullptr},
    {u"RGTV", F, Page, u"channel\\Georgia\\rgtv.htm", nullptr, nullptr},
    {u"kartli-live.example", F, Page, u"channel\\Georgia\\kartli-live-example.htm", nullptr, nullptr},

    // channel\Armenia
    {u"Еркир Медиа", M, Page, u"channel\\Armenia\\erkir-media.htm", nullptr, nullptr},
    {u"ArmeniaTV", MF, Page, u"channel\\Armenia\\armeniatv.htm", nullptr, nullptr},
    {u"Artn", M, Page, u"channel\\Armenia\\artn.htm", nullptr, nullptr},
    {u"ARM", MF, Page, u"channel\\Armenia\\arm.htm", nullptr, nullptr},
    {u"Shant", MF, Page, u"channel\\Armenia\\shant.htm", nullptr, nullptr},
    {u"AMC", MF, Page, u"channel\\Armenia\\amc.htm", nullptr, nullptr},
    {u"AMGA", F, Page, u"channel\\Armenia\\amga.htm", nullptr, nullptr},
    {u"YaTvArmenia", F, Page, u"channel\\Armenia\\yatvarmenia.htm", nullptr, nullptr},

    // channel\Azerbaycan
    {u"AzTV", MF, Page, u"channel\\Azerbaycan\\aztv.htm", nullptr, nullptr},
    {u"Ictimai TV", M, Page, u"channel\\Azerbaycan\\ictimai.htm", nullptr, nullptr},
    {u"Ictimai TV", F, Page, u"channel\\Azerbaycan\\Ictimai.htm", nullptr, nullptr},
    {u"Муз ТВ (Азербайджан)", M, Page, u"channel\\Azerbaycan\\muz-tv-azerbaydzhan.htm", nullptr, nullptr},
    {u"Gunaz TV", F, Page, u"channel\\Azerbaycan\\gunaz-tv.htm", nullptr, nullptr},

    // channel\Kazakhstan
    {u"CaspioNet", MF, Page, u"channel\\Kazakhstan\\caspionet.htm", nullptr, nullptr},
    {u"KTK", MF, Page, u"channel\\Kazakhstan\\ktk.htm", nullptr, nullptr},
    {u"Асыл-Арна", M, Page, u"channel\\Kazakhstan\\asil-arna.htm", nullptr, nullptr},
    {u"Асыл-Арна", F, Page, u"channel\\Kazakhstan\\balapan.htm", nullptr, nullptr},
    {u"Балапан", M, Page, u"channel\\Kazakhstan\\balapan.htm", nullptr, nullptr},
    {u"НТК Казахстан", MF, Page, u"channel\\Kazakhstan\\ntk-kazahstan.htm", nullptr, nullptr},
    {u"Хабар", MF, Page, u"channel\\Kazakhstan\\habar.htm", nullptr, nullptr},
    {u"ЕЛ-Арна", F, Page, u"channel\\Kazakhstan\\el-arna.htm", nullptr, nullptr},

    // channel\Belarus
    {u"1 Беларусь", MF, Page, u"channel\\Belarus\\1-belarus.htm", nullptr, nullptr},
    {u"TPO", M, Page, u"channel\\Belarus\\tpo.htm", nullptr, nullptr},
    {u"Беларусь ТВ", MF, Page, u"channel\\Belarus\\belarus-tv.htm", nullptr, nullptr},
    {u"LAD TV", F, Page, u"channel\\Belarus\\lad-tv.htm", nullptr, nullptr},

    // channel\18
    {u"День студента", M, Page, u"channel\\18\\den-studenta.htm", nullptr, nullptr},
    {u"Web TV", MF, Page, u"channel\\18\\web-tv.html", nullptr, nullptr},
    {u"Miami TV", MF, Page, u"channel\\18\\miami-tv.htm", nullptr, nullptr},
    {u"Latex", MF, Page, u"channel\\18\\latex.htm", nullptr, nullptr},
    {u"Asia XXX", M, Page, u"channel\\18\\asia-xxx.htm", nullptr, nullptr},
    {u"Extra TV", M, Page, u"channel\\18\\extra-tv.htm", nullptr, nullptr},
    {u"Fashion XXX", M, Page, u"channel\\18\\fashion-xxx.htm", nullptr, nullptr},
    {u"Bella Club", M, Page, u"channel\\18\\bella-club.htm", nullptr, nullptr},
    {u"Playboy", M, Page, u"channel\\18\\playboy.htm", nullptr, nullptr},
    {u"Playboy-Classic", M, Page, u"channel\\18\\playboy-classic.htm", nullptr, nullptr},
    {u"Erotic TV", M, Page, u"channel\\18\\erotic-tv.htm", nullptr, nullptr},
    {u"Porno TV", M, Page, u"channel\\18\\porno-tv.htm", nullptr, nullptr},
    {u"Porn-TV Amateur", F, Page, u"channel\\18\\porn-tv-amateur.htm", nullptr, nullptr},
    {u"Porn-TV Anal", F, Page, u"channel\\18\\porn-tv-anal.htm", nullptr, nullptr},
    {u"Porn-TV Asian", F, Page, u"channel\\18\\porn-tv-asian.htm", nullptr, nullptr},
    {u"Porn-TV Anime", F, Page, u"channel\\18\\porn-tv-anime.htm", nullptr, nullptr},
    {u"Ero clips", F, Page, u"channel\\18\\ero-clips.htm", nullptr, nullptr},
    {u"Porn-TV Ass", F, Page, u"channel\\18\\porn-tv-ass.htm", nullptr, nullptr},
    {u"Zapreta Net", F, Page, u"channel\\18\\zapreta-net.htm", nullptr, nullptr},
    {u"Porn-TV Atm", F, Page, u"channel\\18\\porn-tv-atm.htm", nullptr, nullptr},
    {u"Lesbian", F, Page, u"channel\\18\\lesbian.htm", nullptr, nullptr},
    {u"Porn-TV BDSM", F, Page, u"channel\\18\\porn-tv-bdsm.htm", nullptr, nullptr},
    {u"Couples", F, Page, u"channel\\18\\couples.htm", nullptr, nullptr},
    {u"Porn-TV Big Cock", F, Page, u"channel\\18\\porn-tv-big-cock.htm", nullptr, nullptr},
    {u"Fat", F, Page, u"channel\\18\\fat.htm", nullptr, nullptr},
    {u"Porn-TV Big Tits", F, Page, u"channel\\18\\porn-tv-big-tits.htm", nullptr, nullptr},
    {u"Fetish", F, Page, u"channel\\18\\fetish.htm", nullptr, nullptr},
    {u"Porn-TV Black", F, Page, u"channel\\18\\porn-tv-black.htm", nullptr, nullptr},
    {u"Girls solo", F, Page, u"channel\\18\\girls-solo.htm", nullptr, nullptr},
    {u"Porn-TV Blonde", F, Page, u"channel\\18\\porn-tv-blonde.htm", nullptr, nullptr},
    {u"Hardcore", F, Page, u"channel\\18\\hardcore.htm", nullptr, nullptr},
    {u"Porn-TV Creampie", F, Page, u"channel\\18\\porn-tv-creampie.htm", nullptr, nullptr},
    {u"Lesbisn", F, Page, u"channel\\18\\lesbisn.htm", nullptr, nullptr},
    {u"Porn-TV Cum Shots", F, Page, u"channel\\18\\porn-tv-cum-shots.htm", nullptr, nullptr},
    {u"Mix", F, Page, u"channel\\18\\mix.htm", nullptr, nullptr},
    {u"Porn-TV Girl Solo", F, Page, u"channel\\18\\porn-tv-girl-solo.htm", nullptr, nullptr},
    {u"Porn-TV Hardcore", F, Page, u"channel\\18\\porn-tv-hardcore.htm", nullptr, nullptr},
    {u"Porn-TV Hardcore 2", F, Page, u"channel\\18\\porn-tv-hardcore-2.htm", nullptr, nullptr},
    {u"Porn-TV Lesbian", F, Page, u"channel\\18\\porn-tv-lesbian.htm", nullptr, nullptr},
    {u"Porn-TV Mature", F, Page, u"channel\\18\\porn-tv-mature.htm", nullptr, nullptr},
    {u"Porn-TV Milf", F, Page, u"channel\\18\\porn-tv-milf.htm", nullptr, nullptr},
    {u"Porn-TV Shaved", F, Page, u"channel\\18\\porn-tv-shaved.htm", nullptr, nullptr},
    {u"Porn-TV Teen", F, Page, u"channel\\18\\porn-tv-teen.htm", nullptr, nullptr},

    // partner windows and the system browser
    {u"Первый Интернет", MF, Korbina, u"/tv/pikhd", nullptr, nullptr},
    {u"Юмор ТВ", MF, Korbina, u"/tv/humor", nullptr, nullptr},
    {u"Спас ТВ", MF, Korbina, u"/tv/spas", nullptr, nullptr},
    {u"Москва 24.", MF, Korbina, u"/tv/m24", nullptr, nullptr},
    {u"О2 ТВ", MF, Korbina, u"/tv/o2", nullptr, nullptr},
    {u" Россия 24 ", M, Korbina, u"/tv/russia24", nullptr, nullptr},
    {u"Живое ТВ", MF, Korbina, u"/tv/tvl", nullptr, nullptr},
    {u" Союз ", M, Korbina, u"/tv/soyuz", nullptr, nullptr},
    {u" РБК ", M, Korbina, u"/tv/rbc", nullptr, nullptr},
    {u" A-one ", M, Korbina, u"/tv/aone", nullptr, nullptr},
    {u"100 ТВ", MF, Korbina, u"/tv/100", nullptr, nullptr},
    {u"РИА ТВ", MF, Korbina, u"/tv/rian", nullptr, nullptr},
    {u"National Gegraphic", M, Ovego, u"/publ/live_tv/poznavatelnye/national_geographic_channel/8-1-0-37", nullptr, nullptr},
    {u"Music Box", MF, Korbina, u"/tv/musicbox", nullptr, nullptr},
    {u" Мир ТВ ", M, Korbina, u"/tv/mir", nullptr, nullptr},
    {u"Дамский", MF, Korbina, u"/tv/tdk", nullptr, nullptr},
    {u" Дождь ТВ ", M, Korbina, u"/tv/dojd", nullptr, nullptr},
    {u"Океан", MF, Korbina, u"/tv/ocean", nullptr, nullptr},
    {u" Style TV ", M, Korbina, u"/tv/style", nullptr, nullptr},
    {u" Шансон ТВ ", M, Korbina, u"/tv/chanson", nullptr, nullptr},
    {u"RU TV 2", MF, Korbina, u"/tv/rutv", nullptr, nullptr},
    {u"ОРТ 2", F, SeeTv, u"/see/1tv", nullptr, nullptr},
    {u"Bridge", F, Korbina, u"/tv/bridge", nullptr, nullptr},
    {u"Eurosport News", F, Korbina, u"/tv/eurosport", nullptr, nullptr},
    {u"1+1", F, SeeTv, u"/see/1plus1", nullptr, nullptr},
    {u"2+2", F, SeeTv, u"/see/2plus2", nullptr, nullptr},
    {u"Русский extreme", F, Korbina, u"/tv/rusext", nullptr, nullptr},
    {u"МТV UA", F, SeeTv, u"/see/MTV", nullptr, nullptr},
    {u"A-one", F, Korbina, u"/tv/aone", nullptr, nullptr},
    {u"ТВ1000 action 2", F, SeeTv, u"/see/tv1000", nullptr, nullptr},
    {u"  1-авто     UA", F, SeeTv, u"/see/1auto", nullptr, nullptr},
    {u"TV1000 EAST", F, SeeTv, u"/see/TV1000EAST", nullptr, nullptr},
    {u"ICTV", F, SeeTv, u"/see/ictv", nullptr, nullptr},
    {u"Style TV", F, Korbina, u"/tv/style", nullptr, nullptr},
    {u"Шансон ТВ", F, Korbina, u"/tv/chanson", nullptr, nullptr},
    {u"НТВ Мир", F, SeeTv, u"/see/ntvmir", nullptr, nullptr},
    {u"Дамский клуб", F, Korbina, u"/tv/tdk", nullptr, nullptr},
    {u"НТВ Киноклуб 2", F, SeeTv, u"/see/kinoclub", nullptr, nullptr},
    {u"СТБ", F, SeeTv, u"/see/stb", nullptr, nullptr},
    {u"ТРК Украина", F, SeeTv, u"/see/TRKUkraine", nullptr, nullptr},
    {u"TV XXI", F, SeeTv, u"/see/TVXXI", nullptr, nullptr},
    {u"Mega", F, SeeTv, u"/see/mega", nullptr, nullptr},
    {u"QTV", F, SeeTv, u"/see/qtv", nullptr, nullptr},
    {u"World Fashion", F, Korbina, u"/tv/wfc", nullptr, nullptr},
    {u"Футбол", F, SeeTv, u"/see/futbol", nullptr, nullptr},
    {u"Комедия ТВ", F, SeeTv, u"/see/KomediaTV", nullptr, nullptr},
    {u"ТЕТ", F, SeeTv, u"/see/TET", nullptr, nullptr},
    {u"Футбол плюс", F, SeeTv, u"/see/futbolpljus", nullptr, nullptr},
    {u"2x2, ТНТ, СТС и др.", F, System, u"/tv", nullptr, nullptr},
    {u"Pro Wrestling TV", F, Korbina, u"/tv/wrestling", nullptr, nullptr},
};
// clang-format on

Target targetOf(Kind k) {
    switch (k) {
    case Page:
        return Target::MainView;
    case Korbina:
        return Target::KorbinaForm;
    case Ovego:
        return Target::OvegoPlayerForm;
    case SeeTv:
        return Target::Browser2Form;
    case System:
        return Target::SystemBrowser;
    }
    return Target::MainView;
}

QString pageOf(const Row& row) {
    const QString path = QString::fromUtf16(row.page);
    switch (row.kind) {
    case Page:
        return path.startsWith(u'/') ? SiteUrls::Project(path) : path;
    case Korbina:
        return SiteUrls::KorbinaSite + path;
    case Ovego:
        return SiteUrls::OvegoSite + path;
    case SeeTv:
        return SiteUrls::SeeTvSite + path;
    case System:
        return SiteUrls::TvPortalSite + path;
    }
    return path;
}

std::vector<ChannelEntry> build(Lists which) {
    std::vector<ChannelEntry> list;
    for (const Row& row : kRows) {
        if (!(row.lists & which))
            continue;
        ChannelEntry e;
        e.Name = QString::fromUtf16(row.name);
        e.target = targetOf(row.kind);
        e.Page = pageOf(row);
        if (which == M) {
            // Window and radio rows never have a programme page of their own.
            e.Guide = row.guide ? QString::fromUtf16(row.guide) : NoProgrammeGuide;
            if (row.stream)
                e.Stream = QByteArray(row.stream);
        }
        list.push_back(std::move(e));
    }
    return list;
}

} // namespace

const std::vector<ChannelEntry>& MainCatalog() {
    static const std::vector<ChannelEntry> list = build(M);
    return list;
}

const std::vector<ChannelEntry>& FavoriteCatalog() {
    static const std::vector<ChannelEntry> list = build(F);
    return list;
}

QString TargetName(Target t) {
    switch (t) {
    case Target::MainView:
        return QStringLiteral("MainView");
    case Target::KorbinaForm:
        return QStringLiteral("KorbinaForm");
    case Target::OvegoPlayerForm:
        return QStringLiteral("OvegoPlayerForm");
    case Target::Browser2Form:
        return QStringLiteral("Browser2Form");
    case Target::SystemBrowser:
        return QStringLiteral("SystemBrowser");
    }
    return {};
}
