// Level 2: the dragon in the cave, the chest or its sale, the sea battle,
// the tigers and the buried chest.  Every answer goes into X.
#include "script/steps.h"

namespace igra {

// One step a line, however long its text.
// clang-format off
void PlayLevel2() {
  // The cave and the dragon.
  ShowLine({"dobre doshal ", IME, " v nivo 2"});
  Pause();
  ShowLine({"portala vi otvede v peshtera"});
  Pause();
  ShowLine({"na okolo 20 metra pred vas se chuva silen shum"});
  Pause();
  ShowLine({"pred vas se izpravq ogromen drakon"});
  Pause();
  ShowLine({"nqmate drug izhod osven da se biete s nego"});
  Pause();
  ShowLine({"vashiqt jivot e 100,kakto i silata vi"});
  Pause();
  ShowLine({"silata na drakona e 70,a jivota mu e 80"});
  Pause();
  ShowLine({"imate 2 varianta,ediniqt e da mu nanesete udar v glavata"});
  Pause();
  ShowLine({"drugiq e da mu nanesete udar v stomaha"});
  Pause();

  // The fight: 1 strikes the head, 2 the stomach; any other answer goes on.
  ShowText({"izberete si 1 ili 2:"});
  AskNumber(X);
  if (X == 1) {
    ShowLine({"vie pobedihte protivnika s edin udar!"});
    Pause();
  }
  if (X == 2) {
    ShowLine({"v opita si da nanesete udar v stomaha vie bqhte ubiti!"});
    Pause();
    FinishGame();
  }

  // The reward, the key, and the chest from level 1: 1 opens it, 2 sells it.
  // Texts without line breaks run on; selling ends without a pause.
  ShowText({"kato nagrada pechelite 10 zlato"});
  Pause();
  ShowText({"s tezi 10 zlato ", IME, " si kupi misteriozen kliuch"});
  Pause();
  ShowText({"kakvo shte napravite sega,imate 2 opcii"});
  Pause();
  ShowText({"1-da otvorite sanduka ot nivo 1 i da vidite kakvo ima v nego"});
  Pause();
  ShowText({"2-da go prodadete="});
  AskNumber(X);
  if (X == 1) {
    ShowText({"chestito,v sanduka namerihte stara karta na sakrovishte i ognen mech "});
    Pause();
  }
  if (X == 2) {
    ShowText({"vie zagubihte igrata,ne trqbvashe da go prodavate"});
    FinishGame();
  }
  Pause();

  // The voyage and the sea battle: 1 attacks, 2 surrenders.
  ShowText({"i taka ", IME, " potegli kum novo prikliuchenie v tursene na sakrovishteto"});
  Pause();
  ShowText({"otpravqiki se kum destinaciqta vie trqbva da patuvate s korab"});
  Pause();
  ShowText({"plavaiki iz burnite vodi ", IME, " se natukva na drug korab,koito e vrajeski"});
  Pause();
  ShowLine({IME, " se nalaga se da pobedi na vsqka cena"});
  Pause();
  ShowLine({"kakvo shte napravite sega??"});
  Pause();
  ShowLine({"1-shte zaredite orudiqta i shte atakuvate"});
  ShowLine({"2-shte se predadete"});
  AskNumber(X);
  if (X == 1) {
    ShowLine({"vie potopihte vraga si i produljavate po putq si"});
    Pause();
  }
  if (X == 2) {
    ShowLine({"vie zagubihte,bahti bota"});
    Pause();
    FinishGame();
  }

  // The island and the tigers: no answer loses here.
  ShowLine({"stignahte do nepoznatiq ostrov i slqzohte ot koraba"});
  Pause();
  ShowLine({"predi da vleznete v gorata vi obgradiha tigri "});
  Pause();
  ShowLine({"za shtastie imate ognen mech s koito mojete da srazite tigrite"});
  Pause();
  ShowLine({"natisnete 1 sled koeto Enter za da napravite ognena bariera:"});
  AskNumber(X);
  if (X == 1) {
    ShowLine({"vie uspqhte,progonihte gi i produljavate napred"});
    Pause();
  }

  // The forest, the digging and the buried chest: 1 breaks it open, 2 keeps it.
  // After the letter, level 3 follows with no pause between.
  ShowLine({"veche navlizate v gorata"});
  Pause();
  ShowLine({"namirate ogromno durvo,koeto izglejda mnogo staro"});
  Pause();
  ShowLine({"poglejdate kartata i osuznavate,che ste na mqstoto"});
  Pause();
  ShowLine({"trqbva da kopaete v korenite na durvoto,no za celta vi trqbva kirka"});
  Pause();
  ShowLine({"poteglqte obratno kum koraba i vzimate kirka"});
  Pause();
  ShowLine({"vrushtate se pri durvoto i zapochvate da kopaete"});
  Pause();
  ShowLine({"izvednuj udrqte neshto tvurdo,mestite zemqta i pred ochite vi izpukva durven sanduk s metalni rubove"});
  Pause();
  ShowLine({"vzimate sanduka,no nqmate kliuch zada go otvorite,kakvo shte pravite"});
  ShowLine({"1-shte go razbiete s kirkata"});
  ShowLine({"2-shte go zapazite"});
  AskNumber(X);
  if (X == 1) {
    ShowLine({"vie uspeshno otvorihte sanduka,no tova koeto toi sudurja e pismo s text,koito glasi:"});
    Pause();
    ShowLine({"EVALA,vie uspeshno minahte levela!"});
  }
  if (X == 2) {
    ShowLine({"dokato se vrushtate kum koraba s sunduka v ruka bez da vidite popadate v kapan i ste zaloveni ot chovekoqdci koito vi izqjdat"});
    Pause();
    ShowLine({"vie zagubihte igrata :( ."});
    Pause();
    FinishGame();
  }
}
// clang-format on

}  // namespace igra
