#!/usr/bin/env python3
"""The demonstration home of scripts/demo-screenshots.sh, in one language.

demo-home.py LANG HOME KORVALE_DATA        fills HOME: folders and files, applications, notes,
                                           tasks, reminders, the settings of a first run done
demo-home.py --word NAME LANG              a word the screenshots type ("search", "folder")
demo-home.py --use LANG FILE KORVALE_DATA  writes a made-up day of application use to FILE
"""
import datetime
import json
import os
import subprocess
import sys

TEXTS = {
    "en": {
        "folders": ["Documents", "Pictures", "Music", "Downloads", "Projects/Garden",
                    "Projects/Holiday in Brittany"],
        "files": ["Documents/Budget 2027.ods", "Documents/Letter to the landlord.odt",
                  "Documents/Recipes.txt", "Projects/Garden/Plan.pdf",
                  "Projects/Garden/Seeds to buy.txt", "Projects/Holiday in Brittany/Route.pdf",
                  "Pictures/Beach.png", "Pictures/Harbour.png", "Music/Playlist.m3u"],
        "apps": [("Calculator", "accessories-calculator"),
                 ("Text Editor", "accessories-text-editor"),
                 ("Terminal", "utilities-terminal"), ("Web Browser", "web-browser"),
                 ("Spreadsheet", "x-office-spreadsheet"), ("Mail", "mail-send-receive"),
                 ("Dictionary", "accessories-dictionary"),
                 ("Calendar", "x-office-calendar")],
        "notes": [("Wi-Fi at the cottage", "Network: Kerlann\nThe code is on the fridge."),
                  ("Books to read", "The Old Man and the Sea\nThe Little Prince"),
                  ("Garden ideas", "Raised beds by the fence, tomatoes in the sun.")],
        "todo": [("Renew the car insurance", -1), ("Call the plumber", 0),
                 ("Book the ferry to Brittany", 1), ("Send the seed order", 4)],
        "reminders": [("Bring the library books back", 0), ("Water the seedlings", 2)],
        "events": [("Dentist", 1, 14), ("Lunch with Claire", 2, 12), ("Choir rehearsal", 3, 19),
                   ("Market day", 8, 9), ("Parents' evening", 15, 18)],
        "search": "cal",
        "folder": "docu",
        "list_title": "Reminders",
        "browser": "Korvale Browser",
        "calendar": "Calendar",
        "todo_title": "To-Do",
        "help_key": "h",
        "stocks": [("Brittany Ferries", "ferries", "30.000", "45.000", "38.00"),
                   ("Garden Supplies Ltd", "garden", "10.000", "20.000", "12.70")],
        "stock": "ferr",
        "stock_survey": "Stock survey",
        "stock_editor": "Stock survey entry",
    },
    "fr": {
        "folders": ["Documents", "Images", "Musique", "Téléchargements", "Projets/Jardin",
                    "Projets/Vacances en Bretagne"],
        "files": ["Documents/Budget 2027.ods", "Documents/Lettre au propriétaire.odt",
                  "Documents/Recettes.txt", "Projets/Jardin/Plan.pdf",
                  "Projets/Jardin/Graines à acheter.txt", "Projets/Vacances en Bretagne/Trajet.pdf",
                  "Images/Plage.png", "Images/Port.png", "Musique/Liste de lecture.m3u"],
        "apps": [("Calculatrice", "accessories-calculator"),
                 ("Éditeur de texte", "accessories-text-editor"),
                 ("Terminal", "utilities-terminal"), ("Navigateur web", "web-browser"),
                 ("Tableur", "x-office-spreadsheet"), ("Courrier", "mail-send-receive"),
                 ("Dictionnaire", "accessories-dictionary"),
                 ("Calendrier", "x-office-calendar")],
        "notes": [("Wi-Fi de la maison de campagne", "Réseau : Kerlann\nLe code est sur le frigo."),
                  ("Livres à lire", "Le Vieil Homme et la Mer\nLe Petit Prince"),
                  ("Idées pour le jardin", "Des carrés surélevés le long de la clôture.")],
        "todo": [("Renouveler l’assurance de la voiture", -1), ("Appeler le plombier", 0),
                 ("Réserver le ferry pour la Bretagne", 1), ("Envoyer la commande de graines", 4)],
        "reminders": [("Rapporter les livres à la bibliothèque", 0), ("Arroser les semis", 2)],
        "events": [("Dentiste", 1, 14), ("Déjeuner avec Claire", 2, 12),
                   ("Répétition de la chorale", 3, 19), ("Jour de marché", 8, 9),
                   ("Réunion de parents d’élèves", 15, 18)],
        "search": "cal",
        "folder": "docu",
        "list_title": "Rappels",
        "browser": "Navigateur Korvale",
        "calendar": "Calendrier",
        "todo_title": "À faire",
        "help_key": "a",
        "stocks": [("Ferries de Bretagne", "ferries", "30.000", "45.000", "38.00"),
                   ("Jardineries de l’Ouest", "garden", "10.000", "20.000", "12.70")],
        "stock": "ferr",
        "stock_survey": "Surveillance des cours",
        "stock_editor": "Valeur surveillée",
    },
}
APP_IDS = ["org.example.Calculator", "org.example.TextEditor", "org.example.Terminal",
           "org.example.WebBrowser", "org.example.Spreadsheet", "org.example.Mail",
           "org.example.Dictionary", "org.example.Calendar"]


def load(korvale_data, name, value):
    subprocess.run([korvale_data, "load", name], input=json.dumps(value).encode(), check=True)


def iso(moment):
    return {"$date": moment.astimezone(datetime.timezone.utc).isoformat(timespec="milliseconds")
            .replace("+00:00", "Z")}


def fill(lang, home, korvale_data):
    texts = TEXTS[lang]
    for folder in texts["folders"]:
        os.makedirs(os.path.join(home, folder), exist_ok=True)
    for name in texts["files"]:
        with open(os.path.join(home, name), "w", encoding="utf-8") as out:
            out.write("Korvale\n")
    apps = os.path.join(home, ".local/share/applications")
    os.makedirs(apps, exist_ok=True)
    english = dict(zip(APP_IDS, [a[0] for a in TEXTS["en"]["apps"]]))
    for app_id, (name, icon) in zip(APP_IDS, texts["apps"]):
        with open(os.path.join(apps, app_id + ".desktop"), "w", encoding="utf-8") as out:
            out.write("[Desktop Entry]\nType=Application\nName=%s\nName[%s]=%s\nIcon=%s\n"
                      "Exec=true\n" % (english[app_id], lang, name, icon))

    now = datetime.datetime.now().astimezone()
    morning = now.replace(hour=9, minute=30, second=0, microsecond=0)
    load(korvale_data, subprocess.run([korvale_data, "preferences"], capture_output=True,
                                      text=True, check=True).stdout.strip(),
         {"Version": "0.1.0", "DaemonActivated": 1, "OtherDataCalendarEvents": 1})
    load(korvale_data, "ToDo.krvdata",
         [{"x": 8, "T": title, "Date": iso(morning + datetime.timedelta(days=days, hours=days % 3)),
           "Done": 0} for title, days in texts["todo"]])
    load(korvale_data, "Reminder.krvdata",
         [{"x": 11, "T": title, "Color": colour} for title, colour in texts["reminders"]])
    load(korvale_data, "Notes.krvdata",
         [{"x": 5, "T": title, "t": text} for title, text in texts["notes"]])
    # Quotes from the screenshot script's loopback server (KORVALE_DEMO_QUOTES): nothing leaves
    # the machine.
    quotes = os.environ.get("KORVALE_DEMO_QUOTES", "http://127.0.0.1:9")
    # "ValMin" is the upper alert limit, "ValMax" the lower one. Last shown just below the quote
    # served: not due when the agent starts, only when the user selects it.
    load(korvale_data, "StocksSurvey.krvdata",
         [{"x": 7, "T": title, "StockURL": "%s/%s" % (quotes, path), "ValMin": above,
           "ValMax": below, "ValLast": "%s,%s,20261209" % (path.upper(), shown),
           "ValLastShown": shown}
          for title, path, below, above, shown in texts["stocks"]])
    # A local calendar where GNOME's keeps its own, for the calendar window; nothing today, which
    # would bring that window up by itself over the others.
    calendar = os.path.join(home, ".local/share/evolution/calendar/system")
    os.makedirs(calendar, exist_ok=True)
    with open(os.path.join(calendar, "calendar.ics"), "w", encoding="utf-8") as out:
        out.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Korvale demo//EN\r\n")
        for number, (title, days, hour) in enumerate(texts["events"]):
            start = (now + datetime.timedelta(days=days)).replace(
                hour=hour, minute=0, second=0, microsecond=0).astimezone(datetime.timezone.utc)
            out.write("BEGIN:VEVENT\r\nUID:demo-%d@korvale\r\nDTSTAMP:%s\r\nDTSTART:%s\r\n"
                      "DTEND:%s\r\nSUMMARY:%s\r\nEND:VEVENT\r\n"
                      % (number, start.strftime("%Y%m%dT%H%M%SZ"),
                         start.strftime("%Y%m%dT%H%M%SZ"),
                         (start + datetime.timedelta(hours=1)).strftime("%Y%m%dT%H%M%SZ"),
                         title))
        out.write("END:VCALENDAR\r\n")


def use(lang, path, korvale_data):
    reference = datetime.datetime(2001, 1, 1, tzinfo=datetime.timezone.utc)
    day = datetime.datetime.now().astimezone().replace(hour=0, minute=0, second=0, microsecond=0)

    def at(hour, minute):
        return int((day + datetime.timedelta(hours=hour, minutes=minute) - reference)
                   .total_seconds())
    plan = [("org.example.Mail", 8, 5, 8, 40), ("org.example.TextEditor", 8, 40, 10, 25),
            ("org.example.WebBrowser", 10, 25, 11, 10), ("korvale-daemon", 11, 10, 11, 30),
            ("org.example.Spreadsheet", 13, 30, 15, 45), ("org.example.Terminal", 15, 45, 17, 0),
            ("org.example.TextEditor", 17, 0, 18, 30), ("org.example.Mail", 19, 30, 20, 0)]
    os.makedirs(os.path.dirname(path), exist_ok=True)
    load(korvale_data, path, [{"N": n, "D": at(a, b), "T": at(c, d)} for n, a, b, c, d in plan])


if __name__ == "__main__":
    if sys.argv[1] == "--word":
        print(TEXTS[sys.argv[3]][sys.argv[2]])
    elif sys.argv[1] == "--use":
        use(sys.argv[2], sys.argv[3], sys.argv[4])
    else:
        fill(sys.argv[1], sys.argv[2], sys.argv[3])
