// Level 3 and the ending: the horse, the glowing stone and the warlord's
// equation.  Every answer goes into Y.
#include "script/steps.h"

namespace igra {

// One step a line, however long its text.
// clang-format off
void PlayLevel3() {
  // The horse: 1 feeds it, 2 does not.
  ShowLine({"Vie se namirate v nivo 3"});
  Pause();
  ShowText({"Hodeiki iz ostrova,na koito se namirash otkrivash kon,za da mojesh da go opitomish trqbva da go nahranish,vijdash nablizo qbulkovo durvo,iskash li dago nahranish : 1 da , 2 ne"});
  AskNumber(Y);
  if (Y == 1) {
    ShowLine({"Ti nahrani konq i go opitomi,s tova uvelichi burzinata si"});
    Pause();
  }
  if (Y == 2) {
    ShowLine({"Ti izbirash da ne opitomish konq"});
    Pause();
    ShowLine({"Dokato se razhojdash te podgoniha kanibali,poradi tova che ne ti dostiga burzina te te nastigat i ubivat"});
    Pause();
    FinishGame();
  }

  // The sheet with strange symbols and the night by the fire.
  ShowLine({"Ti produljavash s konq si i preodolqvash kanibalite poradi burzinata si"});
  Pause();
  ShowLine({"Dokato obikalqsh ostrova chudeiki se kak da se izmuknesh ti otkrivash neobiknoven duner,poglejdash vutre v nego i otkrivash list s nepoznati simvoli"});
  Pause();
  ShowLine({"Chudeiki se kakvo moje da oznachavat tezi simvoli ti go pribirash v sunduka sus sukrovishte"});
  Pause();
  ShowLine({"Kogato trugna da se stumva ti reshavash da spresh i da se prigotvish za samotnata i studena nosht"});
  Pause();
  ShowLine({"Sled kato si zapalvash ogun ti zaspivash,po-kusno prez noshta ti si subuden ot nqkakuv glas,idvasht ot sunduka"});
  Pause();

  // The glowing stone: 1 reads the sheet, 2 does not.
  ShowText({"Otvarqiki go ti vijdash edin ot skupocennite kamuni,koito sveti po-silno ot drugite,vzimash lista i kamuka,kogato priblijish lista kum kamuka,zabelqzvash che otrajenieto na lista v kamuka e razlichno ot normalnoto,veche teksta se raz4ida,iskash li da go prochetesh: 1 da , 2 ne"});
  AskNumber(Y);
  if (Y == 1) {
    ShowLine({"Pred teb se otvarq portal i ti minavash prez nego,namirash se v poznata teritoriq"});
    Pause();
  }
  if (Y == 2) {
    ShowLine({"Ostavash na ostrova do kraq na jivota si"});
    Pause();
    FinishGame();
  }

  // The home town, the capture and the warlord: 60x - 30x = 300, x = 10.
  // Both tests read the same answer, the winning one first.
  ShowLine({"Razbirash che se namirash v svoq roden grad,no ima neshto neobichaino,gradut e napadnat"});
  Pause();
  ShowLine({"Navsqkude ima jertvi,kushtite sa opojareni,ima voiski navsqkude"});
  Pause();
  ShowLine({"Ti si nevnimatelen i si zaloven ot grupa voinici,te te vodqt pri svoq voenonachalnik"});
  Pause();
  ShowText({"Po vreme na pregovorite s nego ti kazvash,che si gotov na vsichko,za da spasish grada si,voenonachalnika uchuden ti predlaga da mu reshish edna zadacha: 60x-(3x*10)=1034-734"});
  AskNumber(Y);
  if (Y == 10) {
    ShowLine({"Bravo ti uspq da spasish grada si"});
    Pause();
  }
  if (Y != 10) {
    ShowLine({"Ti sgreshi i beshe ubit"});
    Pause();
    FinishGame();
  }

  // The ending.
  ShowLine({"Chestito ti specheli igrata"});
  Pause();
}
// clang-format on

}  // namespace igra
