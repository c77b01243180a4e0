// Level 1: the opponent, the door in the tree, the wizard, the dragon, the
// assassin, the castle and the box.  Every answer goes into D.
//
// The tests after a question stand one after another, each reading D as it
// is at that moment; a block that does not end the game runs on into the
// next test.  So after the box the castle's test for 2 reads the box answer.
#include <string_view>

#include "script/steps.h"

namespace igra {

namespace {

constexpr std::string_view kLostTheGame = " zagubi igrata :( .";
constexpr std::string_view kWhile = "dokato ";

}  // namespace

// One step a line, however long its text.
// clang-format off
void PlayLevel1() {
  // The hero beats an opponent and takes a locked chest along.
  ShowLine({"Nivo 1"});
  Pause();
  ShowLine({IME, " sreshtna oponent."});
  Pause();
  ShowLine({"oponenta ima 80 sila."});
  Pause();
  ShowLine({IME, " sam izbra da se bie."});
  Pause();
  ShowLine({IME, " pobedi i specheli sila: sila 120."});
  Pause();
  ShowLine({IME, " nameri zakliuchen sunduk, i go vze sus sebe si"});
  Pause();

  // The door in the tree: 2-(-2)+2 = 6.
  ShowText({IME, " nameri taina vrata na edno durvo, no na neq ima kliuch sus zadacha 2-(-2)+2="});
  AskNumber(D);
  if (D != 6) {
    ShowLine({IME, " ne moja da otvori vratata poneje otgovora beshe greshen."});
    Pause();
    ShowLine({kWhile, IME, " se razhojdashe go napadna zombi!"});
    Pause();
    ShowLine({IME, " se opita da se otbrani, no zombito mu izqde mozuka!"});
    Pause();
    ShowLine({IME, kLostTheGame});
    Pause();
    FinishGame();
  }
  if (D == 6) {
    ShowLine({IME, " otvori vratata i vleze v tunel."});
    Pause();
  }
  ShowLine({IME, " go napadna chudovishte v tunela, no toi uspq da izbqga."});
  Pause();

  // The wizard: 144 + 169 + 196 - 225 = 284.
  ShowText({IME, " sreshtna magiosnik koito kaza che shte go ubie ako ne mu reshi slednata zadacha: (12*12)+(13*13)+(14*14)-(15*15)="});
  AskNumber(D);
  if (D != 284) {
    ShowLine({IME, " sgreshi i magiosnika go ubi!"});
    Pause();
    ShowLine({IME, kLostTheGame});
    Pause();
    FinishGame();
  }
  if (D == 284) {
    ShowLine({IME, " izpolzva kalkulator, zashtoto go marzi da smqta i otgovori pravilno :D ."});
    Pause();
    ShowLine({" magiosnika mu blagodari i si trugna."});
    Pause();
  }

  // The dragon: 12 fireballs in 1.5 minutes, for 9 minutes: 72.
  ShowText({kWhile, IME, " se razhojdashe sreshtna drakon koito zapochna da go celi s ogneni topki - 12 ogneni topki za 1.5 min, tai kato ", IME, " imashe poznaniq po drakonologiq toi znaeshe che drakonite se iztoshtavat za 9 min, kolko topki shte iztrelq drakona za 9 min = "});
  AskNumber(D);
  if (D != 72) {
    ShowLine({IME, " ne uspq i beshe izgoren ot drakona!"});
    Pause();
    ShowLine({IME, kLostTheGame});
    Pause();
    FinishGame();
  }
  if (D == 72) {
    ShowLine({IME, " izchisli kolko e kapaciteta na drakona i go ubi dokato e izmoren."});
    Pause();
  }

  // The cave, the sword (strength 140 now) and the assassin.
  ShowLine({kWhile, IME, " se razhojdashe nameri peshtera, i reshi da ne vliza :D ."});
  Pause();
  ShowLine({IME, " nameri mech pred peshterata koito mu dava bonus sila: sila +20 ."});
  Pause();
  ShowLine({"sled koeto chu nqkoi da plache zad gurba mu i se oburna i vidq ubiec da ubiva nevinni hora i go predizvika da se biqt !"});
  Pause();
  ShowLine({"ubieca kaza na ", IME, " che ako otgovori pravilno na tazi zadacha (ot tehnicheskiq) shte go poshtadi!"});
  Pause();

  // The assassin: 2x + 2x = 140, so x = 35.  Losing here ends without a
  // last pause.
  ShowText({"eto q i neq 2x+2x=y, ako y = silata na ", IME, " to x="});
  AskNumber(D);
  if (D != 35) {
    ShowLine({IME, " sgreshi i ubieca go ubi"});
    Pause();
    ShowLine({IME, kLostTheGame});
    FinishGame();
  }
  if (D == 35) {
    ShowLine({IME, " pozna i specheli i za tova ubieca reshi da go ubie!"});
    Pause();
    ShowLine({"ubieca ne uspq da ubie ", IME, "."});
    Pause();
    ShowLine({IME, " uspq da izbqga nadalech ot ubieca."});
    Pause();
  }

  // The castle: 1 explores it, 2 moves away (the test for 2 comes after the
  // box, and reads whatever was answered last).
  ShowText({IME, " vidq na blizo zamuk, kakvo izbira ", IME, " da pravi 1(da razgleda zamuka) 2(da se otdalechi)? = "});
  AskNumber(D);
  if (D == 1) {
    ShowLine({IME, " vleze v zamuka i razgleda naokolu, i nameri kutiika."});
    Pause();
    ShowLine({"kakvo izbira ", IME, " da pravi s kutiikata ?"});
    Pause();

  // The box: 1 throws it, 2 swallows it, 3 is the way on.
    ShowText({"1(da q izhvurli), 2(da q glatne),3...? = "});
    AskNumber(D);
    if (D == 1) {
      ShowLine({IME, " hvurli kutiikata i q schupi, sled koeto beshe izqden ot nqkakvo chudovishte!"});
      Pause();
      ShowLine({IME, kLostTheGame});
      Pause();
      FinishGame();
    }
    if (D == 2) {
      ShowLine({IME, " se zadavi s kutiikata i zagina!"});
      Pause();
      ShowLine({IME, kLostTheGame});
      Pause();
      FinishGame();
    }
    if (D == 3) {
      ShowLine({IME, " predi da izbere kakvo da napravi vidq chudovishte da go priblijava i mu dade kutiikata."});
      Pause();
      ShowLine({"chudovishteto izglejda e blagodarno"});
      Pause();
      ShowLine({"to otvori portal i ", IME, " vleze v nego!"});
      Pause();
      ShowLine({IME, " mina nivo 1 :) ."});
      Pause();
    }
  }
  if (D == 2) {
    ShowLine({IME, " izbqga nadalech ot zamuka."});
    Pause();
    ShowLine({IME, " beshe ubit ot ubieca ot predi malko!"});
    Pause();
    ShowLine({IME, kLostTheGame});
    Pause();
    FinishGame();
  }
}
// clang-format on

}  // namespace igra
