"""The game's texts, each written out once, and the stretches of the story.

Every helper below is one block of the game's step tables: the rows it runs
through, in order, with the texts exactly as the game writes them (a blank at
either end of a literal belongs to it).  A block is a list of steps:

  bytes      what a ShowText step writes (no line break), or a ShowLine
             step (its pieces, then CR LF)
  ASK_NAME   the name is read: one input line
  PAUSE      a pause: one input line read and ignored; writes nothing
  ASK        a numeric answer: one input line; writes nothing

Input is not echoed, so pauses and answers add nothing to the output.  Each
helper takes the hero's name, also where its texts do not use it.  The
docstring of a block gives its step labels and the answer that leads into it.
Blocks that end in "Game over" are the last ones of their path.

This module holds no cases.
"""

from casekit import CRLF

ASK_NAME = "ask-name"
PAUSE = "pause"
ASK = "ask"
READS = (ASK_NAME, PAUSE, ASK)

CASES = []


def show_text(*pieces):
    return b"".join(pieces)


def show_line(*pieces):
    return b"".join(pieces) + CRLF


# Opening ---------------------------------------------------------------------


def opening(name):
    """0-01 .. 0-06: name prompt, greeting, strength."""
    return [
        show_text(b"Vuvedi imeto na geroq si: "),
        ASK_NAME,
        show_line(name, b" e mnogo hubavo ime!"),
        PAUSE,
        show_line(b"Sega geroq ti ima 100 sila"),
        PAUSE,
    ]


# Level 1 ---------------------------------------------------------------------


def level1_start(name):
    """1-01 .. 1-12: heading, first fight, the locked chest."""
    return [
        show_line(b"Nivo 1"), PAUSE,
        show_line(name, b" sreshtna oponent."), PAUSE,
        show_line(b"oponenta ima 80 sila."), PAUSE,
        show_line(name, b" sam izbra da se bie."), PAUSE,
        show_line(name, b" pobedi i specheli sila: sila 120."), PAUSE,
        show_line(name, b" nameri zakliuchen sunduk, i go vze sus sebe si"), PAUSE,
    ]


def door_prompt(name):
    """1-13, 1-14: the door puzzle (6)."""
    return [
        show_text(name, b" nameri taina vrata na edno durvo, no na neq ima kliuch sus zadacha 2-(-2)+2="),
        ASK,
    ]


def door_wrong(name):
    """1-16 .. 1-24: any answer but 6; Game over."""
    return [
        show_line(name, b" ne moja da otvori vratata poneje otgovora beshe greshen."), PAUSE,
        show_line(b"dokato ", name, b" se razhojdashe go napadna zombi!"), PAUSE,
        show_line(name, b" se opita da se otbrani, no zombito mu izqde mozuka!"), PAUSE,
        show_line(name, b" zagubi igrata :( ."), PAUSE,
    ]


def door_right(name):
    """1-26, 1-27: answer 6."""
    return [
        show_line(name, b" otvori vratata i vleze v tunel."), PAUSE,
    ]


def tunnel(name):
    """1-28, 1-29."""
    return [
        show_line(name, b" go napadna chudovishte v tunela, no toi uspq da izbqga."), PAUSE,
    ]


def wizard_prompt(name):
    """1-30, 1-31: the wizard puzzle (284)."""
    return [
        show_text(name, b" sreshtna magiosnik koito kaza che shte go ubie ako ne mu reshi slednata zadacha: (12*12)+(13*13)+(14*14)-(15*15)="),
        ASK,
    ]


def wizard_wrong(name):
    """1-33 .. 1-37: any answer but 284; Game over."""
    return [
        show_line(name, b" sgreshi i magiosnika go ubi!"), PAUSE,
        show_line(name, b" zagubi igrata :( ."), PAUSE,
    ]


def wizard_right(name):
    """1-39 .. 1-42: answer 284."""
    return [
        show_line(name, b" izpolzva kalkulator, zashtoto go marzi da smqta i otgovori pravilno :D ."), PAUSE,
        show_line(b" magiosnika mu blagodari i si trugna."), PAUSE,
    ]


def dragon_prompt(name):
    """1-43, 1-44: the dragon puzzle (72)."""
    return [
        show_text(b"dokato ", name, b" se razhojdashe sreshtna drakon koito zapochna da go celi s ogneni topki - 12 ogneni topki za 1.5 min, tai kato ", name, b" imashe poznaniq po drakonologiq toi znaeshe che drakonite se iztoshtavat za 9 min, kolko topki shte iztrelq drakona za 9 min = "),
        ASK,
    ]


def dragon_wrong(name):
    """1-46 .. 1-50: any answer but 72; Game over."""
    return [
        show_line(name, b" ne uspq i beshe izgoren ot drakona!"), PAUSE,
        show_line(name, b" zagubi igrata :( ."), PAUSE,
    ]


def dragon_right(name):
    """1-52, 1-53: answer 72."""
    return [
        show_line(name, b" izchisli kolko e kapaciteta na drakona i go ubi dokato e izmoren."), PAUSE,
    ]


def cave(name):
    """1-54 .. 1-61: the cave, the sword, the assassin's challenge."""
    return [
        show_line(b"dokato ", name, b" se razhojdashe nameri peshtera, i reshi da ne vliza :D ."), PAUSE,
        show_line(name, b" nameri mech pred peshterata koito mu dava bonus sila: sila +20 ."), PAUSE,
        show_line(b"sled koeto chu nqkoi da plache zad gurba mu i se oburna i vidq ubiec da ubiva nevinni hora i go predizvika da se biqt !"), PAUSE,
        show_line(b"ubieca kaza na ", name, b" che ako otgovori pravilno na tazi zadacha (ot tehnicheskiq) shte go poshtadi!"), PAUSE,
    ]


def assassin_prompt(name):
    """1-62, 1-63: the assassin puzzle (35)."""
    return [
        show_text(b"eto q i neq 2x+2x=y, ako y = silata na ", name, b" to x="),
        ASK,
    ]


def assassin_wrong(name):
    """1-65 .. 1-68: any answer but 35; Game over with no pause after the last line."""
    return [
        show_line(name, b" sgreshi i ubieca go ubi"), PAUSE,
        show_line(name, b" zagubi igrata :( ."),
    ]


def assassin_right(name):
    """1-70 .. 1-75: answer 35."""
    return [
        show_line(name, b" pozna i specheli i za tova ubieca reshi da go ubie!"), PAUSE,
        show_line(b"ubieca ne uspq da ubie ", name, b"."), PAUSE,
        show_line(name, b" uspq da izbqga nadalech ot ubieca."), PAUSE,
    ]


def castle_prompt(name):
    """1-76, 1-77: the castle choice (1 explore, 2 move away)."""
    return [
        show_text(name, b" vidq na blizo zamuk, kakvo izbira ", name, b" da pravi 1(da razgleda zamuka) 2(da se otdalechi)? = "),
        ASK,
    ]


def castle_explore(name):
    """1-79 .. 1-82: castle answer 1."""
    return [
        show_line(name, b" vleze v zamuka i razgleda naokolu, i nameri kutiika."), PAUSE,
        show_line(b"kakvo izbira ", name, b" da pravi s kutiikata ?"), PAUSE,
    ]


def box_prompt(name):
    """1-83, 1-84: the box choice (1 throw, 2 swallow, 3)."""
    return [
        show_text(b"1(da q izhvurli), 2(da q glatne),3...? = "),
        ASK,
    ]


def box_throw(name):
    """1-86 .. 1-90: box answer 1; Game over."""
    return [
        show_line(name, b" hvurli kutiikata i q schupi, sled koeto beshe izqden ot nqkakvo chudovishte!"), PAUSE,
        show_line(name, b" zagubi igrata :( ."), PAUSE,
    ]


def box_swallow(name):
    """1-92 .. 1-96: box answer 2; Game over."""
    return [
        show_line(name, b" se zadavi s kutiikata i zagina!"), PAUSE,
        show_line(name, b" zagubi igrata :( ."), PAUSE,
    ]


def box_give(name):
    """1-98 .. 1-105: box answer 3; the portal out of level 1."""
    return [
        show_line(name, b" predi da izbere kakvo da napravi vidq chudovishte da go priblijava i mu dade kutiikata."), PAUSE,
        show_line(b"chudovishteto izglejda e blagodarno"), PAUSE,
        show_line(b"to otvori portal i ", name, b" vleze v nego!"), PAUSE,
        show_line(name, b" mina nivo 1 :) ."), PAUSE,
    ]


def castle_flee(name):
    """1-107 .. 1-113: castle answer 2; Game over."""
    return [
        show_line(name, b" izbqga nadalech ot zamuka."), PAUSE,
        show_line(name, b" beshe ubit ot ubieca ot predi malko!"), PAUSE,
        show_line(name, b" zagubi igrata :( ."), PAUSE,
    ]


# Level 2 ---------------------------------------------------------------------


def level2_start(name):
    """2-01 .. 2-18: the cave and the dragon."""
    return [
        show_line(b"dobre doshal ", name, b" v nivo 2"), PAUSE,
        show_line(b"portala vi otvede v peshtera"), PAUSE,
        show_line(b"na okolo 20 metra pred vas se chuva silen shum"), PAUSE,
        show_line(b"pred vas se izpravq ogromen drakon"), PAUSE,
        show_line(b"nqmate drug izhod osven da se biete s nego"), PAUSE,
        show_line(b"vashiqt jivot e 100,kakto i silata vi"), PAUSE,
        show_line(b"silata na drakona e 70,a jivota mu e 80"), PAUSE,
        show_line(b"imate 2 varianta,ediniqt e da mu nanesete udar v glavata"), PAUSE,
        show_line(b"drugiq e da mu nanesete udar v stomaha"), PAUSE,
    ]


def fight_prompt(name):
    """2-19, 2-20: the dragon fight (1 head, 2 stomach)."""
    return [
        show_text(b"izberete si 1 ili 2:"),
        ASK,
    ]


def fight_head(name):
    """2-22, 2-23: fight answer 1."""
    return [
        show_line(b"vie pobedihte protivnika s edin udar!"), PAUSE,
    ]


def fight_stomach(name):
    """2-25 .. 2-27: fight answer 2; Game over."""
    return [
        show_line(b"v opita si da nanesete udar v stomaha vie bqhte ubiti!"), PAUSE,
    ]


def reward(name):
    """2-28 .. 2-31: the gold and the key."""
    return [
        show_text(b"kato nagrada pechelite 10 zlato"), PAUSE,
        show_text(b"s tezi 10 zlato ", name, b" si kupi misteriozen kliuch"), PAUSE,
    ]


def sale_prompt(name):
    """2-32 .. 2-37: the sale choice (1 open the chest, 2 sell it)."""
    return [
        show_text(b"kakvo shte napravite sega,imate 2 opcii"), PAUSE,
        show_text(b"1-da otvorite sanduka ot nivo 1 i da vidite kakvo ima v nego"), PAUSE,
        show_text(b"2-da go prodadete="),
        ASK,
    ]


def sale_open(name):
    """2-39, 2-40: sale answer 1."""
    return [
        show_text(b"chestito,v sanduka namerihte stara karta na sakrovishte i ognen mech "), PAUSE,
    ]


def sale_sell(name):
    """2-42, 2-43: sale answer 2; Game over with no pause and no line break."""
    return [
        show_text(b"vie zagubihte igrata,ne trqbvashe da go prodavate"),
    ]


def sale_after(name):
    """2-44: the pause after the sale choice, for every answer but 2."""
    return [
        PAUSE,
    ]


def voyage(name):
    """2-45 .. 2-52: the voyage and the enemy ship."""
    return [
        show_text(b"i taka ", name, b" potegli kum novo prikliuchenie v tursene na sakrovishteto"), PAUSE,
        show_text(b"otpravqiki se kum destinaciqta vie trqbva da patuvate s korab"), PAUSE,
        show_text(b"plavaiki iz burnite vodi ", name, b" se natukva na drug korab,koito e vrajeski"), PAUSE,
        show_line(name, b" se nalaga se da pobedi na vsqka cena"), PAUSE,
    ]


def battle_prompt(name):
    """2-53 .. 2-57: the sea battle (1 attack, 2 surrender)."""
    return [
        show_line(b"kakvo shte napravite sega??"), PAUSE,
        show_line(b"1-shte zaredite orudiqta i shte atakuvate"),
        show_line(b"2-shte se predadete"),
        ASK,
    ]


def battle_attack(name):
    """2-59, 2-60: battle answer 1."""
    return [
        show_line(b"vie potopihte vraga si i produljavate po putq si"), PAUSE,
    ]


def battle_surrender(name):
    """2-62 .. 2-64: battle answer 2; Game over."""
    return [
        show_line(b"vie zagubihte,bahti bota"), PAUSE,
    ]


def tiger_prompt(name):
    """2-65 .. 2-72: the island, the tigers, the prompt to press 1."""
    return [
        show_line(b"stignahte do nepoznatiq ostrov i slqzohte ot koraba"), PAUSE,
        show_line(b"predi da vleznete v gorata vi obgradiha tigri "), PAUSE,
        show_line(b"za shtastie imate ognen mech s koito mojete da srazite tigrite"), PAUSE,
        show_line(b"natisnete 1 sled koeto Enter za da napravite ognena bariera:"),
        ASK,
    ]


def tiger_fire(name):
    """2-74, 2-75: tiger answer 1."""
    return [
        show_line(b"vie uspqhte,progonihte gi i produljavate napred"), PAUSE,
    ]


def forest(name):
    """2-76 .. 2-89: the forest, the old tree, the digging."""
    return [
        show_line(b"veche navlizate v gorata"), PAUSE,
        show_line(b"namirate ogromno durvo,koeto izglejda mnogo staro"), PAUSE,
        show_line(b"poglejdate kartata i osuznavate,che ste na mqstoto"), PAUSE,
        show_line(b"trqbva da kopaete v korenite na durvoto,no za celta vi trqbva kirka"), PAUSE,
        show_line(b"poteglqte obratno kum koraba i vzimate kirka"), PAUSE,
        show_line(b"vrushtate se pri durvoto i zapochvate da kopaete"), PAUSE,
        show_line(b"izvednuj udrqte neshto tvurdo,mestite zemqta i pred ochite vi izpukva durven sanduk s metalni rubove"), PAUSE,
    ]


def chest_prompt(name):
    """2-90 .. 2-93: the buried chest (1 break it open, 2 keep it)."""
    return [
        show_line(b"vzimate sanduka,no nqmate kliuch zada go otvorite,kakvo shte pravite"),
        show_line(b"1-shte go razbiete s kirkata"),
        show_line(b"2-shte go zapazite"),
        ASK,
    ]


def chest_break(name):
    """2-95 .. 2-97: chest answer 1; no pause after the last line."""
    return [
        show_line(b"vie uspeshno otvorihte sanduka,no tova koeto toi sudurja e pismo s text,koito glasi:"), PAUSE,
        show_line(b"EVALA,vie uspeshno minahte levela!"),
    ]


def chest_keep(name):
    """2-99 .. 2-103: chest answer 2; Game over."""
    return [
        show_line(b"dokato se vrushtate kum koraba s sunduka v ruka bez da vidite popadate v kapan i ste zaloveni ot chovekoqdci koito vi izqjdat"), PAUSE,
        show_line(b"vie zagubihte igrata :( ."), PAUSE,
    ]


# Level 3 and the ending ------------------------------------------------------


def level3_start(name):
    """3-01, 3-02."""
    return [
        show_line(b"Vie se namirate v nivo 3"), PAUSE,
    ]


def horse_prompt(name):
    """3-03, 3-04: the horse choice (1 feed it, 2 do not)."""
    return [
        show_text(b"Hodeiki iz ostrova,na koito se namirash otkrivash kon,za da mojesh da go opitomish trqbva da go nahranish,vijdash nablizo qbulkovo durvo,iskash li dago nahranish : 1 da , 2 ne"),
        ASK,
    ]


def horse_feed(name):
    """3-06, 3-07: horse answer 1."""
    return [
        show_line(b"Ti nahrani konq i go opitomi,s tova uvelichi burzinata si"), PAUSE,
    ]


def horse_refuse(name):
    """3-09 .. 3-13: horse answer 2; Game over."""
    return [
        show_line(b"Ti izbirash da ne opitomish konq"), PAUSE,
        show_line(b"Dokato se razhojdash te podgoniha kanibali,poradi tova che ne ti dostiga burzina te te nastigat i ubivat"), PAUSE,
    ]


def night(name):
    """3-14 .. 3-23: past the cannibals, the sheet, the night."""
    return [
        show_line(b"Ti produljavash s konq si i preodolqvash kanibalite poradi burzinata si"), PAUSE,
        show_line(b"Dokato obikalqsh ostrova chudeiki se kak da se izmuknesh ti otkrivash neobiknoven duner,poglejdash vutre v nego i otkrivash list s nepoznati simvoli"), PAUSE,
        show_line(b"Chudeiki se kakvo moje da oznachavat tezi simvoli ti go pribirash v sunduka sus sukrovishte"), PAUSE,
        show_line(b"Kogato trugna da se stumva ti reshavash da spresh i da se prigotvish za samotnata i studena nosht"), PAUSE,
        show_line(b"Sled kato si zapalvash ogun ti zaspivash,po-kusno prez noshta ti si subuden ot nqkakuv glas,idvasht ot sunduka"), PAUSE,
    ]


def stone_prompt(name):
    """3-24, 3-25: the stone choice (1 read the sheet, 2 do not)."""
    return [
        show_text(b"Otvarqiki go ti vijdash edin ot skupocennite kamuni,koito sveti po-silno ot drugite,vzimash lista i kamuka,kogato priblijish lista kum kamuka,zabelqzvash che otrajenieto na lista v kamuka e razlichno ot normalnoto,veche teksta se raz4ida,iskash li da go prochetesh: 1 da , 2 ne"),
        ASK,
    ]


def stone_read(name):
    """3-27, 3-28: stone answer 1."""
    return [
        show_line(b"Pred teb se otvarq portal i ti minavash prez nego,namirash se v poznata teritoriq"), PAUSE,
    ]


def stone_refuse(name):
    """3-30 .. 3-32: stone answer 2; Game over."""
    return [
        show_line(b"Ostavash na ostrova do kraq na jivota si"), PAUSE,
    ]


def home_town(name):
    """3-33 .. 3-38: the home town under attack, the capture."""
    return [
        show_line(b"Razbirash che se namirash v svoq roden grad,no ima neshto neobichaino,gradut e napadnat"), PAUSE,
        show_line(b"Navsqkude ima jertvi,kushtite sa opojareni,ima voiski navsqkude"), PAUSE,
        show_line(b"Ti si nevnimatelen i si zaloven ot grupa voinici,te te vodqt pri svoq voenonachalnik"), PAUSE,
    ]


def warlord_prompt(name):
    """3-39, 3-40: the warlord's equation (10)."""
    return [
        show_text(b"Po vreme na pregovorite s nego ti kazvash,che si gotov na vsichko,za da spasish grada si,voenonachalnika uchuden ti predlaga da mu reshish edna zadacha: 60x-(3x*10)=1034-734"),
        ASK,
    ]


def warlord_right(name):
    """3-42, 3-43: answer 10."""
    return [
        show_line(b"Bravo ti uspq da spasish grada si"), PAUSE,
    ]


def warlord_wrong(name):
    """3-45 .. 3-47: any answer but 10; Game over."""
    return [
        show_line(b"Ti sgreshi i beshe ubit"), PAUSE,
    ]


def ending(name):
    """3-48, 3-49: the won game."""
    return [
        show_line(b"Chestito ti specheli igrata"), PAUSE,
    ]


# Putting stretches together --------------------------------------------------


def steps(name, blocks):
    """The steps of the given blocks, in order, for this name."""
    return [step for block in blocks for step in block(name)]


def output(name, blocks):
    """The bytes the given blocks write, for this name."""
    return b"".join(s for s in steps(name, blocks) if isinstance(s, bytes))


def reads(blocks):
    """The input reads of the given blocks, in order (the name does not matter)."""
    return [s for s in steps(b"", blocks) if s in READS]
